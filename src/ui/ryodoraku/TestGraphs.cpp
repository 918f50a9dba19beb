#include "TestGraphs.h"

#include "PolarDiagram.h"
#include "TestChart.h"
#include "localization/LanguageApplier.h"
#include "ryodoraku/CorridorEvaluation.h"
#include "ryodoraku/GraphOrders.h"

namespace TestGraphs {

QString word(const QString &key, const QString &fallback)
{
    return LanguageApplier::instance().text(key, fallback);
}

QString title(const TestRecord &test)
{
    return test.testDate.toString(QStringLiteral("dd.MM.yyyy HH:mm"));
}

void applyWords(TestChart *chart)
{
    const QString mean = word(QStringLiteral("GraphMean"), QStringLiteral("Mean"));
    chart->setTipWords(mean, word(QStringLiteral("GraphDeviation"), QStringLiteral("Deviation")));
    chart->setCorridorNames(mean, word(QStringLiteral("GraphCorridor"), QStringLiteral("Corridor")));
}

void applyWords(PolarDiagram *polar)
{
    polar->setTexts(word(QStringLiteral("Left"), QStringLiteral("Left")),
                    word(QStringLiteral("Right"), QStringLiteral("Right")),
                    word(QStringLiteral("GraphMean"), QStringLiteral("Mean")),
                    word(QStringLiteral("GraphCorridor"), QStringLiteral("Corridor")));
}

void draw(int kind, const TestRecord &test, int percent, TestChart *chart, PolarDiagram *polar)
{
    if (kind == 5) {
        applyWords(polar);
        polar->setTitle(title(test));
        polar->setTest(test, evaluate(test, percent));
        return;
    }
    applyWords(chart);
    if (kind == 4)
        chart->showRawBars(test, GraphOrders::sideBySide(), title(test));
    else
        chart->showCorridorBars(test, evaluate(test, percent),
                                kind == 2 ? GraphOrders::sideBySide() : GraphOrders::sideAfterSide(),
                                title(test));
}

} // namespace TestGraphs
