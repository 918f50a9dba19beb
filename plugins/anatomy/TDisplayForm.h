#pragma once

#include <QColor>
#include <QList>
#include <QMap>
#include <QString>
#include <QWidget>

// The anatomy display window: a front view of the body with its 19 regions in the colours the
// program sends, and one statistics line per channel beside it.
class TDisplayForm : public QWidget {
    Q_OBJECT
public:
    explicit TDisplayForm(int bodyModel);

    void setRegionColor(int region, int windowsColor);
    void addStatisticsLine(const QString &text);
    void setLastStatisticsColor(int red, int green, int blue);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void publish(); // mirrors the state into properties, for whoever inspects the window

    int m_bodyModel = 0;
    QMap<int, QColor> m_regions;
    QList<QString> m_lines;
    QList<QColor> m_lineColors;
};
