#include "TestChart.h"

#include "ryodoraku/GraphOrders.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QCursor>
#include <QLegendMarker>
#include <QLineSeries>
#include <QToolTip>
#include <QValueAxis>

#include <cmath>

namespace {

constexpr double kBarMargin = 0.14; // of one slot, on each side of a bar

void showMarker(QChart *chart, QAbstractSeries *series, bool shown)
{
    for (QLegendMarker *marker : chart->legend()->markers(series))
        marker->setVisible(shown);
}

} // namespace

TestChart::TestChart(QWidget *parent)
    // The view is given its chart at once: a chart set later replaces the default one without
    // deleting it.
    : QChartView(new QChart, parent)
{
    setObjectName(QStringLiteral("DBChart1"));
    setRenderHint(QPainter::Antialiasing);
    QChart *chart = this->chart();
    chart->setBackgroundBrush(QColor(0xFC, 0xFD, 0xFE));
    chart->setPlotAreaBackgroundBrush(Qt::white);
    chart->setPlotAreaBackgroundVisible(true);
    chart->setMargins(QMargins(6, 4, 6, 4));
    chart->legend()->setAlignment(Qt::AlignBottom);
    QFont titleFont = chart->titleFont();
    titleFont.setPointSizeF(titleFont.pointSizeF() + 1);
    titleFont.setBold(true);
    chart->setTitleFont(titleFont);
    chart->setTitleBrush(QColor(0x24, 0x31, 0x3D));

    m_axisX = new QCategoryAxis;
    m_axisX->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    m_axisX->setGridLineVisible(false);
    QFont labels = m_axisX->labelsFont();
    labels.setPointSizeF(7);
    m_axisX->setLabelsFont(labels);
    m_axisX->setRange(0, Channels::Count);
    m_axisY = new QValueAxis;
    m_axisY->setLabelFormat(QStringLiteral("%d"));
    m_axisY->setGridLineColor(QColor(0xE3, 0xE8, 0xEE));
    chart->addAxis(m_axisX, Qt::AlignBottom);
    chart->addAxis(m_axisY, Qt::AlignLeft);

    for (int channel = 0; channel < Channels::Count; ++channel) {
        auto *upper = new QLineSeries(this);
        auto *lower = new QLineSeries(this);
        auto *bar = new QAreaSeries(upper, lower);
        bar->setName(Channels::name(channel));
        chart->addSeries(bar);
        bar->attachAxis(m_axisX);
        bar->attachAxis(m_axisY);
        showMarker(chart, bar, false);
        connect(bar, &QAreaSeries::hovered, this,
                [this, channel](const QPointF &, bool state) { showTip(channel, state); });
        m_bars.append(bar);
    }
    auto makeLine = [&](const QColor &color, Qt::PenStyle style, qreal width) {
        auto *line = new QLineSeries;
        QPen pen(color, width, style);
        line->setPen(pen);
        chart->addSeries(line);
        line->attachAxis(m_axisX);
        line->attachAxis(m_axisY);
        return line;
    };
    m_mean = makeLine(QColor(0x30, 0x30, 0x30), Qt::SolidLine, 1.6);
    m_upper = makeLine(QColor(0x8A, 0x5A, 0x00), Qt::DashLine, 1.4);
    m_lower = makeLine(QColor(0x8A, 0x5A, 0x00), Qt::DashLine, 1.4);
    hideAll();
}

void TestChart::setTipWords(const QString &mean, const QString &deviation)
{
    m_meanWord = mean;
    m_deviationWord = deviation;
}

void TestChart::setCorridorNames(const QString &mean, const QString &corridor)
{
    m_meanName = mean;
    m_corridorName = corridor;
}

void TestChart::hideAll()
{
    for (QAbstractSeries *series : chart()->series())
        series->setVisible(false);
    for (QLineSeries *line : std::as_const(m_lines)) {
        chart()->removeSeries(line);
        delete line;
    }
    m_lines.clear();
    m_hasCorridor = false;
}

void TestChart::setAxes(const QList<int> &order, int low, int high)
{
    if (order != m_order || m_axisX->count() == 0) {
        m_order = order;
        const auto labels = m_axisX->categoriesLabels();
        for (const QString &label : labels)
            m_axisX->remove(label);
        for (int slot = 0; slot < order.size(); ++slot)
            m_axisX->append(Channels::name(order.at(slot)), slot + 0.5);
        m_axisX->setStartValue(0);
        m_axisX->setRange(0, Channels::Count);
    }
    // Round bounds on a round step, so every tick reads as a plain number.
    const int roughTop = qMax(10, int(std::ceil(high * 1.06)));
    const int roughBottom = low <= 0 ? 0 : int(low * 0.9);
    const int span = roughTop - roughBottom;
    const int step = span > 250 ? 50 : span > 120 ? 20 : span > 50 ? 10 : 5;
    const int top = ((roughTop + step - 1) / step) * step;
    const int bottom = (roughBottom / step) * step;
    m_axisY->setRange(bottom, top);
    m_axisY->setTickCount((top - bottom) / step + 1);
}

void TestChart::placeBar(int channel, int slot, int from, int to, const QColor &color)
{
    QAreaSeries *bar = m_bars.at(channel);
    const double left = slot + kBarMargin;
    const double right = slot + 1 - kBarMargin;
    bar->upperSeries()->replace({QPointF(left, to), QPointF(right, to)});
    bar->lowerSeries()->replace({QPointF(left, from), QPointF(right, from)});
    bar->setColor(color);
    bar->setBorderColor(color.darker(135));
    bar->setVisible(true);
    showMarker(chart(), bar, false); // showing a series shows its legend marker again
}

void TestChart::showCorridorBars(const TestRecord &test, const CorridorEvaluation &corridor,
                                 const QList<int> &order, const QString &title)
{
    hideAll();
    m_test = test;
    m_corridor = corridor;
    m_hasCorridor = true;
    int low = corridor.lower();
    int high = corridor.upper();
    for (const int value : test.values) {
        low = qMin(low, value);
        high = qMax(high, value);
    }
    setAxes(order, low, high);
    for (int slot = 0; slot < order.size(); ++slot) {
        const int channel = order.at(slot);
        const int value = test.values[size_t(channel)];
        placeBar(channel, slot, corridor.mean, value, GraphOrders::barColor(value, corridor));
    }
    auto line = [](QLineSeries *series, int y) {
        QList<QPointF> points;
        points.reserve(Channels::Count + 1);
        for (int x = 0; x <= Channels::Count; ++x)
            points.append(QPointF(x, y));
        series->replace(points);
        series->setVisible(true);
    };
    line(m_mean, corridor.mean);
    line(m_upper, corridor.upper());
    line(m_lower, corridor.lower());
    m_mean->setName(QStringLiteral("%1 %2").arg(m_meanName).arg(corridor.mean));
    m_upper->setName(
        QStringLiteral("%1 %2–%3").arg(m_corridorName).arg(corridor.lower()).arg(corridor.upper()));
    showMarker(chart(), m_mean, true);
    showMarker(chart(), m_upper, true);
    showMarker(chart(), m_lower, false);
    chart()->legend()->setVisible(true);
    chart()->setTitle(title);
}

void TestChart::showRawBars(const TestRecord &test, const QList<int> &order, const QString &title)
{
    hideAll();
    m_test = test;
    int high = 0;
    for (const int value : test.values)
        high = qMax(high, value);
    setAxes(order, 0, high);
    for (int slot = 0; slot < order.size(); ++slot) {
        const int channel = order.at(slot);
        placeBar(channel, slot, 0, test.values[size_t(channel)], GraphOrders::sideColor(channel));
    }
    chart()->legend()->setVisible(false);
    chart()->setTitle(title);
}

void TestChart::showLines(const QList<TestRecord> &tests, const QList<QColor> &colors,
                          const QStringList &names, const QList<int> &order, const QString &title)
{
    hideAll();
    int high = 0;
    for (const TestRecord &test : tests) {
        for (const int value : test.values)
            high = qMax(high, value);
    }
    setAxes(order, 0, high);
    for (int i = 0; i < tests.size(); ++i) {
        auto *line = new QLineSeries;
        QList<QPointF> points;
        for (int slot = 0; slot < order.size(); ++slot)
            points.append(QPointF(slot + 0.5, tests.at(i).values[size_t(order.at(slot))]));
        line->replace(points);
        line->setName(names.value(i));
        line->setPen(QPen(colors.value(i), 2.2));
        line->setPointsVisible(true);
        chart()->addSeries(line);
        line->attachAxis(m_axisX);
        line->attachAxis(m_axisY);
        m_lines.append(line);
    }
    chart()->legend()->setVisible(!m_lines.isEmpty());
    chart()->setTitle(title);
}

void TestChart::showNothing(const QString &title)
{
    hideAll();
    setAxes(GraphOrders::sideAfterSide(), 0, 100);
    chart()->legend()->setVisible(false);
    chart()->setTitle(title);
}

void TestChart::showTip(int channel, bool state)
{
    if (!state) {
        QToolTip::hideText();
        return;
    }
    const int value = m_test.values[size_t(channel)];
    QString text = Channels::name(channel) + QStringLiteral(": ") + QString::number(value);
    if (m_hasCorridor) {
        const int deviation = m_corridor.deviation(value);
        text += QStringLiteral("\n%1 %2, %3 %4%5%")
                    .arg(m_meanWord)
                    .arg(m_corridor.mean)
                    .arg(m_deviationWord.toLower())
                    .arg(deviation > 0 ? QStringLiteral("+") : QString())
                    .arg(deviation);
    }
    QToolTip::showText(QCursor::pos(), text, this);
}
