#include "ChannelResultsBuilder.h"

#include "ChannelCatalogue.h"
#include "CorridorEvaluation.h"
#include "records/TestRecord.h"

#include <algorithm>

namespace {

ChannelResults emptyCells()
{
    ChannelResults cells;
    for (int i = 0; i < Channels::Count; ++i)
        cells[size_t(i)].channel = i;
    return cells;
}

} // namespace

std::optional<ChannelResults> buildChannelResults(const ChannelCatalogue &catalogue,
                                                  const TestRecord &test, int percent,
                                                  const ChannelFilter &filter, QString *error)
{
    ChannelResults cells = emptyCells();
    if (!filter.isComplete())
        return cells;
    // One evaluation serves all 24 channels: the test and the percentage do not change
    // within one build.
    const CorridorEvaluation corridor = evaluate(test, percent);
    for (int c = 0; c < Channels::Count; ++c) {
        const ChannelEntry &entry = catalogue.entry(c);
        if (!passes(*filter.side, entry.left) || !passes(*filter.group, entry.in))
            continue;
        const int column = catalogue.columnOf(c, error);
        if (column < 0)
            return std::nullopt;
        const int value = test.values[size_t(column)];
        const int code = int(classify(value, corridor));
        if (!passes(*filter.conduction, code))
            continue;
        ChannelResult &slot = cells[size_t(c)];
        slot.text = QString::number(value) + QLatin1Char('/') + QString::number(corridor.mean);
        slot.deviation = corridor.deviation(value);
        slot.conductionClass = code;
        slot.value = value;
    }
    sortChannelResults(cells, filter.descending);
    return cells;
}

std::optional<ChannelResults> buildChannelResults(const ChannelCatalogue &catalogue,
                                                  const TestRecord &test,
                                                  const QString &percentText,
                                                  const ChannelFilter &filter, QString *error)
{
    const std::optional<int> percent = CorridorEvaluation::parsePercent(percentText, error);
    if (!percent)
        return std::nullopt;
    return buildChannelResults(catalogue, test, *percent, filter, error);
}

void sortChannelResults(ChannelResults &cells, bool descending)
{
    // Filled cells first, in channel order. Left among the empty ones (deviation 0) a channel
    // below the mean could never pass an empty slot, and with the yin or yang filter the
    // cards came out of order.
    std::stable_partition(cells.begin(), cells.end(),
                          [](const ChannelResult &slot) { return slot.filled(); });
    const int n = Channels::Count;
    for (int i = 0; i < n; ++i) {
        if (!cells[size_t(i)].filled())
            break;
        for (int j = n - 1; j > i; --j) {
            if (!cells[size_t(j)].filled())
                continue;
            const int before = cells[size_t(j - 1)].deviation;
            const int here = cells[size_t(j)].deviation;
            if (descending ? before < here : before > here)
                std::swap(cells[size_t(j - 1)], cells[size_t(j)]);
        }
    }
}

const TestRecord *findTestByDate(const QList<TestRecord> &tests, const QDateTime &moment)
{
    if (!moment.isValid())
        return nullptr;
    const qint64 wanted = moment.toSecsSinceEpoch();
    for (const TestRecord &test : tests) {
        if (test.testDate.isValid() && test.testDate.toSecsSinceEpoch() == wanted)
            return &test;
    }
    return nullptr;
}
