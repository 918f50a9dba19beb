#pragma once

#include "ryodoraku/CorridorEvaluation.h"
#include "records/TestRecord.h"

#include <QChartView>
#include <QList>
#include <QString>

class QAreaSeries;
class QCategoryAxis;
class QLineSeries;
class QValueAxis;

// The chart of the graphs page (`DBChart1`): 24 bars, one series per channel, drawn from an
// origin (the mean, or 0 for raw values), the three corridor lines, and the lines of compared
// tests. The series are made once and refilled, so a new test redraws quickly.
class TestChart : public QChartView
{
    Q_OBJECT
public:
    explicit TestChart(QWidget *parent = nullptr);

    // Bars from the mean in the corridor colours, with the corridor lines (graphs 1 and 2).
    void showCorridorBars(const TestRecord &test, const CorridorEvaluation &corridor,
                          const QList<int> &order, const QString &title);
    // Bars from 0, left blue and right red, without corridor (graph 4).
    void showRawBars(const TestRecord &test, const QList<int> &order, const QString &title);
    // One line per test, in the given colours, named by the given texts (graph 3).
    void showLines(const QList<TestRecord> &tests, const QList<QColor> &colors,
                   const QStringList &names, const QList<int> &order, const QString &title);
    // Nothing but the title.
    void showNothing(const QString &title);

    // For the page's tests and tooltips.
    QAreaSeries *channelSeries(int channel) const { return m_bars.at(channel); }
    QList<QLineSeries *> corridorLines() const { return {m_mean, m_upper, m_lower}; }
    QList<QLineSeries *> comparisonLines() const { return m_lines; }
    // Label texts of the tooltips.
    void setTipWords(const QString &mean, const QString &deviation);
    void setCorridorNames(const QString &mean, const QString &corridor);

private:
    void hideAll();
    void setAxes(const QList<int> &order, int low, int high);
    void placeBar(int channel, int slot, int from, int to, const QColor &color);
    void showTip(int channel, bool state);

    QList<QAreaSeries *> m_bars;   // by channel
    QLineSeries *m_mean = nullptr;
    QLineSeries *m_upper = nullptr;
    QLineSeries *m_lower = nullptr;
    QList<QLineSeries *> m_lines;  // compared tests
    QCategoryAxis *m_axisX = nullptr;
    QValueAxis *m_axisY = nullptr;
    QList<int> m_order;
    TestRecord m_test;
    CorridorEvaluation m_corridor;
    bool m_hasCorridor = false;
    QString m_meanWord = QStringLiteral("Mean");
    QString m_deviationWord = QStringLiteral("Deviation");
    QString m_meanName = QStringLiteral("Mean");
    QString m_corridorName = QStringLiteral("Corridor");
};
