#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <utility>

// The questionnaire's answers turned into a score per meridian (1..12, classical order) and
// the marks that follow from the scores: excess from +2, deficiency from -3 (the thresholds
// are deliberately asymmetric), and the one meridian with the highest positive score.
class MeridianScoring
{
public:
    static constexpr int Count = 12;
    static constexpr int ExcessFrom = 2;
    static constexpr int DeficiencyFrom = -3;

    struct Mark
    {
        bool isMax = false;
        bool excess = false;
        bool deficiency = false;
        bool normal() const { return !excess && !deficiency; }
        bool operator==(const Mark &) const = default;
    };
    using Scores = std::array<int, Count>; // index 0 = meridian I
    using Marks = std::array<Mark, Count>;

    // "N;m,w;m,w..." read to (meridian, weight) pairs. A pair with a meridian outside 1..12 or
    // a non-numeric part is left out, as are pairs beyond N; a missing pair is not made up from
    // another one. A non-numeric N gives no pairs.
    static QList<std::pair<int, int>> parseWeights(const QString &text);
    static Scores score(const QStringList &weightStrings);
    static Marks classify(const Scores &scores);
    // The first meridian (1..12) marked isMax, 0 when none.
    static int maxMeridian(const Marks &marks);
};
