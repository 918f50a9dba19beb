#include "ProgressFigures.h"

#include "CorridorEvaluation.h"
#include "records/TestRecord.h"

#include <algorithm>
#include <cstdlib>

ProgressFigures ProgressFigures::of(const TestRecord &test, int percent)
{
    const CorridorEvaluation corridor = evaluate(test, percent);
    ProgressFigures figures;
    figures.when = test.testDate;
    figures.codeTest = test.codeTest;
    figures.mean = corridor.mean;
    figures.classes.fill(ConductionClass::Normal);
    if (corridor.mean == 0)
        return figures;
    figures.outside = corridor.outsideCount();
    long long spread = 0;
    for (int i = 0; i < Channels::Count; ++i) {
        const int value = test.values[size_t(i)];
        spread += std::llabs(static_cast<long long>(value) - corridor.mean);
        figures.deviation[size_t(i)] = corridor.deviation(value);
        figures.classes[size_t(i)] = classify(value, corridor);
    }
    long long sides = 0;
    for (int i = 0; i < Channels::MeridianCount; ++i)
        sides += std::llabs(static_cast<long long>(test.values[size_t(i)])
                            - test.values[size_t(Channels::mirror(i))]);
    const double mean = std::abs(corridor.mean);
    figures.meanDeviation = double(spread) / Channels::Count / mean * 100.0;
    figures.sideDifference = double(sides) / Channels::MeridianCount / mean * 100.0;
    return figures;
}

QList<ProgressFigures> progressOf(const QList<TestRecord> &tests, int percent, const QDate &from,
                                  const QDate &to)
{
    QList<ProgressFigures> list;
    for (const TestRecord &test : tests) {
        const QDate day = test.testDate.date();
        if ((from.isValid() && day < from) || (to.isValid() && day > to))
            continue;
        list.append(ProgressFigures::of(test, percent));
    }
    std::stable_sort(
        list.begin(), list.end(),
        [](const ProgressFigures &a, const ProgressFigures &b) { return a.when < b.when; });
    return list;
}
