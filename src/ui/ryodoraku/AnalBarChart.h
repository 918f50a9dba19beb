#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QWidget>

#include <optional>

// A bar chart of the analysis window: groups of bars side by side, each bar drawn from a
// common origin (the mean of the test, or 0) to its value, with the origin and any reference
// lines across the plot. Drawn with QPainter: it is repainted at every date change and must
// stay quick and sharp at any size.
class AnalBarChart : public QWidget {
    Q_OBJECT
public:
    struct Bar {
        QString code; // "LU", or an element name
        QString side; // second label line ("left"), may be empty
        QString name; // the bar's whole label, in the tooltip; empty: code and side
        double value = 0;
        QColor color;
    };
    struct Group {
        QString title; // drawn above the group; empty for none
        QList<Bar> bars;
    };
    struct Line {
        double value = 0;
        QString label; // in the legend over the plot; empty: not in the legend
        QColor color;
    };

    explicit AnalBarChart(QWidget *parent = nullptr);

    // Replaces everything shown. `origin` is where the bars start; `originLabel` names the line
    // drawn there in the legend (empty: no legend entry). Every line's value is marked on the
    // value axis.
    void setData(const QList<Group> &groups, double origin, const QString &originLabel);
    void setReferenceLines(const QList<Line> &lines);
    void setTitle(const QString &title);
    // Empties the chart (no test); `notice` is written in the middle instead.
    void clear(const QString &notice = QString());

    const QList<Group> &groups() const { return m_groups; }
    double origin() const { return m_origin; }
    int barCount() const;
    // The rectangle a bar occupies on screen (group, index within it), for tooltips and tests.
    QRectF barRect(int group, int index) const;

    QSize sizeHint() const override { return {640, 300}; }
    QSize minimumSizeHint() const override { return {260, 160}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    struct Frame {
        QRectF plot;
        double low = 0;
        double high = 1;
        double step = 1;
        double slot = 1;
        double toY(double v) const {
            return plot.bottom() - (v - low) / (high - low) * plot.height();
        }
    };
    Frame frame() const;
    bool hasLegend() const;
    int slotOf(int group, int index) const;

    QList<Group> m_groups;
    QList<Line> m_lines;
    double m_origin = 0;
    QString m_originLabel;
    QString m_title;
    QString m_notice;
};
