#include "CorridorEvaluation.h"

#include <limits>

#include "localization/Localization.h"
#include "records/TestRecord.h"

namespace {

#if defined(__SIZEOF_INT128__)
__extension__ typedef unsigned __int128 Wide; // the compilers' 128-bit integer, outside ISO C++

// A number m * 2^e held as the x87 extended format holds it: a 64-bit significand.
struct Extended
{
    Wide m;
    int e;
};

int bitLength(Wide v)
{
    int bits = 0;
    for (; v; v >>= 1)
        ++bits;
    return bits;
}

// Rounds to a 64-bit significand, to nearest with ties to even, as the hardware does.
Extended rounded(Extended x)
{
    int shift = bitLength(x.m) - 64;
    if (shift <= 0)
        return x;
    Wide kept = x.m >> shift;
    const Wide rest = x.m & ((static_cast<Wide>(1) << shift) - 1);
    const Wide half = static_cast<Wide>(1) << (shift - 1);
    if (rest > half || (rest == half && (kept & 1))) {
        ++kept;
        if (bitLength(kept) > 64) {
            kept >>= 1;
            ++shift;
        }
    }
    return {kept, x.e + shift};
}
#endif

} // namespace

int CorridorEvaluation::halfWidthOf(int percent, int mean)
{
    // The corridors of every earlier test were computed in the x87 extended format: 0.01
    // (held just below 0.01) times the percentage, rounded, times the mean, rounded, truncated.
    // A practitioner comparing old and new printouts must see the same classes on any machine,
    // so the two roundings are done here in integers rather than left to `long double`, whose
    // size differs between platforms.
    if (percent <= 0 || mean <= 0)
        return 0;
#if defined(__SIZEOF_INT128__)
    const Wide two70 = static_cast<Wide>(1) << 70;
    Wide hundredth = two70 / 100; // 0.01 = hundredth * 2^-70, 64 significant bits
    const Wide rest = two70 % 100;
    if (rest * 2 > 100 || (rest * 2 == 100 && (hundredth & 1)))
        ++hundredth;
    const Extended perPercent = rounded({hundredth * static_cast<unsigned>(percent), -70});
    const Extended product = rounded({perPercent.m * static_cast<unsigned>(mean), perPercent.e});
    const Wide whole = product.e >= 0 ? product.m << product.e : product.m >> -product.e;
    return static_cast<int>(whole);
#else
    static_assert(std::numeric_limits<long double>::digits == 64,
                  "without 128-bit integers the corridor needs the x87 extended long double");
    volatile long double factor = 0.01L;
    const long double perPercent = factor * static_cast<long double>(percent);
    return static_cast<int>(perPercent * static_cast<long double>(mean));
#endif
}

int CorridorEvaluation::deviation(int value) const
{
    if (mean == 0)
        return 0; // all channels at 0: nothing deviates, and nothing can be divided
    return static_cast<int>((static_cast<long long>(value) - mean) * 100 / mean);
}

std::optional<int> CorridorEvaluation::parsePercent(const QString &text, QString *error)
{
    bool ok = false;
    const int percent = text.trimmed().toInt(&ok);
    if (ok && percent >= 1 && percent <= 99)
        return percent;
    if (error) {
        QString message = Localization::Translate(QStringLiteral("CorridorPercentBad"));
        if (message.isEmpty())
            message = QStringLiteral("The corridor percentage \"%1\" is not a whole number from "
                                     "1 to 99. Correct it in the settings.");
        *error = message.contains(QLatin1String("%1")) ? message.arg(text) : message;
    }
    return std::nullopt;
}

CorridorEvaluation evaluate(const TestRecord &test, int percent)
{
    CorridorEvaluation corridor;
    corridor.values = test.values;
    long long sum = 0;
    for (const int value : test.values)
        sum += value;
    corridor.mean = static_cast<int>(sum / Channels::Count); // C++ division truncates toward 0
    corridor.halfWidth = CorridorEvaluation::halfWidthOf(percent, corridor.mean);
    return corridor;
}

int CorridorEvaluation::outsideCount() const
{
    int count = 0;
    for (const int value : values) {
        if (classify(value, *this) != ConductionClass::Normal)
            ++count;
    }
    return count;
}

ConductionClass classify(int value, const CorridorEvaluation &corridor)
{
    if (value > corridor.upper())
        return ConductionClass::High;
    if (value < corridor.lower())
        return ConductionClass::Low;
    return ConductionClass::Normal;
}
