#include "measure/ReadingCurve.h"

#include <algorithm>
#include <cmath>

int ReadingCurve::toValue(quint16 raw) {
    const double r = raw;
    const double value = (-1.0301419 + 2.0384019 * r + 0.030242527 * r * r) /
                         (1.0 + 0.032656913 * r + 0.00012756338 * r * r);
    // The curve levels out near 237, so the clamp also keeps the cast in range.
    return std::clamp(static_cast<int>(std::trunc(value)), 0, MaxValue);
}
