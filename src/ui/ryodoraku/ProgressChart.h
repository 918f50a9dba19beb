#pragma once

#include "ryodoraku/ProgressFigures.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

// The progress of a client over their tests: four balance figures as lines over the tests
// (channels outside the corridor, mean deviation, left-right difference, the mean), and below
// them a strip with a row per channel and a column per test, coloured by the channel's class
// and deepened by its deviation, so a channel coming back into the corridor is seen at once.
// Hovering a test or a cell tells its figures.
class ProgressChart : public QWidget
{
    Q_OBJECT
public:
    struct Words
    {
        QString title;
        QString outside = QStringLiteral("Channels outside the corridor");
        QString spread = QStringLiteral("Mean deviation from the mean, %");
        QString sides = QStringLiteral("Left-right difference, %");
        QString mean = QStringLiteral("Mean");
        QString empty = QStringLiteral("No tests to show.");
        QString treatment = QStringLiteral("Treatment");
    };

    explicit ProgressChart(QWidget *parent = nullptr);

    // The words in the applied language, as the graphs page and the report draw them.
    static Words appliedWords();

    void setWords(const Words &words);
    void setFigures(const QList<ProgressFigures> &figures);
    // The treatments recorded with a test (their names by test key), marked on the time axis.
    void setTreatments(const QHash<int, QStringList> &treatments);
    const QList<ProgressFigures> &figures() const { return m_figures; }

    // What hovering at `pos` tells; empty away from the tests.
    QString detailsAt(const QPoint &pos) const;

    QSize minimumSizeHint() const override { return {560, 420}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    struct Layout
    {
        QRectF lines[4]; // the four figure rows
        QRectF strip;    // the channel strip
        qreal labelWidth = 0;
    };
    Layout layout() const;
    qreal columnX(int test, const QRectF &area) const;
    int columnAt(qreal x, const QRectF &area) const;
    void paintFigure(QPainter &p, int row, const QRectF &area) const;
    void paintStrip(QPainter &p, const QRectF &area) const;
    void paintDates(QPainter &p, const QRectF &area) const;
    double valueOf(const ProgressFigures &f, int row) const;
    QString rowName(int row) const;

    void paintTreatments(QPainter &p, const QRectF &strip) const;

    QList<ProgressFigures> m_figures;
    QHash<int, QStringList> m_treatments;
    Words m_words;
};
