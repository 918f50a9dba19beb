#include "MeridianScoring.h"

#include <algorithm>
#include <climits>

QList<std::pair<int, int>> MeridianScoring::parseWeights(const QString &text)
{
    QList<std::pair<int, int>> pairs;
    const QStringList fields = text.split(QLatin1Char(';'));
    bool ok = false;
    const int n = fields.value(0).trimmed().toInt(&ok);
    if (!ok || n <= 0)
        return pairs;
    for (int i = 1; i <= n && i < fields.size(); ++i) {
        const QStringList pair = fields.at(i).split(QLatin1Char(','));
        if (pair.size() != 2)
            continue;
        bool okM = false;
        bool okW = false;
        const int meridian = pair.at(0).trimmed().toInt(&okM);
        const int weight = pair.at(1).trimmed().toInt(&okW);
        if (okM && okW && meridian >= 1 && meridian <= Count)
            pairs.append({meridian, weight});
    }
    return pairs;
}

MeridianScoring::Scores MeridianScoring::score(const QStringList &weightStrings)
{
    // Summed wide and held at the ends of int: a huge weight in a questionnaire file never
    // wraps round to the other sign and turns an excess into a normal meridian.
    std::array<long long, Count> sums{};
    for (const QString &text : weightStrings) {
        for (const auto &[meridian, weight] : parseWeights(text))
            sums[size_t(meridian - 1)] = std::clamp<long long>(sums[size_t(meridian - 1)] + weight,
                                                               INT_MIN, INT_MAX);
    }
    Scores scores{};
    for (int i = 0; i < Count; ++i)
        scores[size_t(i)] = int(sums[size_t(i)]);
    return scores;
}

MeridianScoring::Marks MeridianScoring::classify(const Scores &scores)
{
    Marks marks{};
    int maximum = 0;
    int maxIndex = -1;
    for (int i = 0; i < Count; ++i) {
        const int s = scores[size_t(i)];
        if (s > maximum) {
            maximum = s;
            maxIndex = i;
        }
        if (s <= DeficiencyFrom)
            marks[size_t(i)].deficiency = true;
        else if (s >= ExcessFrom)
            marks[size_t(i)].excess = true;
    }
    if (maxIndex >= 0)
        marks[size_t(maxIndex)].isMax = true;
    return marks;
}

int MeridianScoring::maxMeridian(const Marks &marks)
{
    for (int i = 0; i < Count; ++i) {
        if (marks[size_t(i)].isMax)
            return i + 1;
    }
    return 0;
}
