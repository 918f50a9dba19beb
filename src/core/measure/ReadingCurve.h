#pragma once

#include <QtGlobal>

// Turns the device's raw reading into the conductance value the program shows and stores:
// a fixed rational curve, truncated to a whole number and held within 0-200. Zero means the
// probe is not touching the skin.
class ReadingCurve {
public:
    static constexpr int MaxValue = 200;

    static int toValue(quint16 raw);
};
