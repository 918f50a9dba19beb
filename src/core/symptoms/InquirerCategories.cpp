#include "InquirerCategories.h"

#include <algorithm>

InquirerCategories::Range InquirerCategories::range(int type, int questionCount)
{
    const int q = std::max(questionCount, 0);
    const auto cut = [q](int lo, int hi) {
        Range r;
        r.lo = std::min(lo, q);
        r.hi = std::max(r.lo, std::min(hi, q));
        return r;
    };
    switch (type) {
    case Observation:
        return cut(0, 17);
    case HearingSmelling:
        return cut(18, 24);
    case Inquiry:
        return cut(25, q);
    case All:
        return cut(0, q);
    default:
        return {};
    }
}
