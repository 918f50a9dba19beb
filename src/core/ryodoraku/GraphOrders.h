#pragma once

#include "CorridorEvaluation.h"

#include <QColor>
#include <QList>
#include <QStringList>

// The channel orders and colours the test graphs draw with.
class GraphOrders
{
public:
    // Canonical order: all the left channels, then all the right ones (graphs 1 and 3).
    static QList<int> sideAfterSide();
    // Each meridian's left channel beside its right one (graphs 2 and 4).
    static QList<int> sideBySide();
    // The twelve meridians round the polar diagram, clockwise from the top: the order in
    // which the organ clock passes through them in a day (lung 3-5 h ... liver 1-3 h), so the
    // meridians of one element and the coupled pairs sit next to each other.
    static QStringList polarMeridians();

    // A bar's colour: green inside the corridor (bounds included), red above it, blue below.
    static QColor barColor(int value, const CorridorEvaluation &corridor);
    // Raw values: the left side blue, the right side red.
    static QColor sideColor(int channel);
    // Distinct colours for the compared tests' lines, one per row of the date list.
    static QColor compareColor(int row);
};
