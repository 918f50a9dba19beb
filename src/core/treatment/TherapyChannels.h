#pragma once

#include <QString>
#include <QStringList>

#include <array>

// The channel orders of the two therapy sub-modes and the deviation texts they show. The
// colour sub-mode lists the meridians LU PC HT LV SP KI LI TH SI ST GB BL per side; the
// frequency sub-mode keeps the column order of TESTS. Both map to the canonical channel
// index by name, so a change of either order never mixes up values.
class TherapyChannels
{
public:
    static constexpr int Count = 24;

    // Channel names in colour order ("LLU", "LPC", "LHT", "LLV", ... "RBL").
    static const QStringList &colorOrder();
    // Channel names in frequency order (the canonical one, "LLU" .. "RST").
    static const QStringList &freqOrder();
    // For each position of the colour order, the canonical channel index.
    static const std::array<int, Count> &colorToCanonical();

    // "+12%", "-7%" or "0%": the deviation of `value` from `mean` in whole percent, truncated.
    // A mean of 0 (an empty test) shows "0%" instead of dividing by zero.
    static QString deviationText(int value, int mean);
};
