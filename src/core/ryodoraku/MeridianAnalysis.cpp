#include "ryodoraku/MeridianAnalysis.h"

#include "records/TestRecord.h"
#include "ryodoraku/ChannelResultsBuilder.h"

#include <algorithm>
#include <cmath>

namespace {

// Windows colour values of the charts: 0x0000FF red, 0x008000 green, 0xFF0000 blue.
const QColor Red(255, 0, 0);
const QColor Green(0, 128, 0);
const QColor Blue(0, 0, 255);

// The meridians in canonical column order.
enum { LU, PC, HT, SI, TH, LI, SP, LV, KI, BL, GB, ST };

constexpr int Centre = 200;

// Bar number 1..24: each meridian's left value before its right one.
MeridianAnalysis::Bar bar(const MeridianAnalysis &a, int meridian, bool left, bool sideInLabel,
                          bool sideFirst) {
    MeridianAnalysis::Bar b;
    b.number = meridian * 2 + (left ? 1 : 2);
    b.channel = left ? meridian : meridian + Channels::MeridianCount;
    const auto &m = a.meridians[size_t(meridian)];
    b.value = left ? m.left : m.right;
    const QString side = left ? QStringLiteral("left") : QStringLiteral("right");
    if (!sideInLabel)
        b.label = m.code;
    else if (sideFirst)
        b.label = side + QLatin1Char(' ') + m.code;
    else
        b.label = m.code + QLatin1Char(' ') + side;
    b.color = b.value > a.mean ? Red : Green;
    return b;
}

// Bars for numbers first..last (1-based, inclusive) taking every `step`th one.
void appendBars(MeridianAnalysis::Series &series, const MeridianAnalysis &a, int first, int last,
                int step, bool sideInLabel) {
    for (int n = first; n <= last; n += step)
        series.append(bar(a, (n - 1) / 2, n % 2 == 1, sideInLabel, true));
}

// Forms `r` within its band.
void formRatio(MeridianAnalysis::Ratio &r, double numerator, double denominator) {
    // A side or half of the body summing to nothing has no ratio; show nothing rather than
    // infinity.
    if (denominator == 0)
        return;
    r.value = MeridianAnalysis::R2(numerator / denominator);
    r.verdictKey = MeridianAnalysis::verdictOf(*r.value, r.low, r.high);
}

} // namespace

double MeridianAnalysis::R2(double x) {
    return std::trunc(x / 0.01 + 0.5) * 0.01;
}

QString MeridianAnalysis::numberText(double x) {
    return QString::number(x, 'g', 15);
}

QString MeridianAnalysis::ratioText(double x) {
    // Bounds given in whole numbers (the autonomic index, 82 to 118) stay whole.
    if (std::abs(x) >= 10)
        return numberText(x);
    return QString::number(x, 'f', 2);
}

QString MeridianAnalysis::verdictOf(double value, double low, double high) {
    // In whole hundredths: the binary forms of 0.8 and 1.1 must not decide the verdict.
    const long long v = std::llround(value * 100);
    if (v <= std::llround(low * 100))
        return QStringLiteral("LOW");
    if (v >= std::llround(high * 100))
        return QStringLiteral("HIGH");
    return QStringLiteral("Normal");
}

int MeridianAnalysis::circadianScaleOf(double mean) {
    int s = 1;
    if (mean < 50)
        s = 2;
    if (mean < 20)
        s = 2;
    if (mean < 10)
        s = 6;
    if (mean < 5)
        s = 12;
    return s;
}

QString MeridianAnalysis::elementVerdictOf(double d) {
    // d is a multiple of 0.5, so it never sits on 52.3 or 97.46.
    if (d < 0)
        return QStringLiteral("LowOrImbalanced");
    if (d == 0)
        return {};
    if (d < 52.3)
        return QStringLiteral("Normal");
    if (d < 97.46)
        return QStringLiteral("Tolerable");
    return QStringLiteral("Imbalanced");
}

MeridianAnalysis MeridianAnalysis::analyse(const TestRecord &test) {
    return analyse(test.values);
}

MeridianAnalysis MeridianAnalysis::analyseTestAt(const QList<TestRecord> &tests,
                                                 const QDateTime &moment) {
    const TestRecord *test = findTestByDate(tests, moment);
    return test ? analyse(*test) : MeridianAnalysis{};
}

MeridianAnalysis MeridianAnalysis::analyse(const std::array<int, Channels::Count> &values) {
    MeridianAnalysis a;
    a.hasTest = true;
    for (int m = 0; m < Channels::MeridianCount; ++m) {
        auto &meridian = a.meridians[size_t(m)];
        meridian.code = Channels::meridianCodes().at(m);
        meridian.left = values[size_t(m)];
        meridian.right = values[size_t(m + Channels::MeridianCount)];
    }

    // Sums in integers (64-bit: a corrupt reading cannot overflow them), then rounded.
    auto sideSum = [&a](int first, bool left) {
        long long s = 0;
        for (int m = first; m < first + 3; ++m)
            s += left ? a.meridians[size_t(m)].left : a.meridians[size_t(m)].right;
        return s;
    };
    const int groupStart[4] = {LU, SI, SP, BL};
    double group[4];
    for (int g = 0; g < 4; ++g) {
        const long long l = sideSum(groupStart[g], true);
        const long long r = sideSum(groupStart[g], false);
        a.sideSums[size_t(g * 2)] = l;
        a.sideSums[size_t(g * 2 + 1)] = r;
        group[g] = R2(double(l + r));
    }
    a.groupA = group[0];
    a.groupB = group[1];
    a.groupC = group[2];
    a.groupD = group[3];
    long long left = 0, right = 0;
    for (const auto &m : a.meridians) {
        left += m.left;
        right += m.right;
    }
    a.totalLeft = R2(double(left));
    a.totalRight = R2(double(right));
    a.upper = R2(a.groupA + a.groupB);
    a.lower = R2(a.groupC + a.groupD);
    a.yin = R2(a.groupA + a.groupC);
    a.yang = R2(a.groupB + a.groupD);
    a.total = R2(a.upper + a.lower);
    // The factor is the extended-precision value nearest 1/24, as the program always had it.
    static constexpr long double OneTwentyFourth = 1.0L / 24.0L;
    a.mean = R2(double(static_cast<long double>(a.total) * OneTwentyFourth));

    formRatio(a.leftRight, a.totalLeft, a.totalRight);
    formRatio(a.yinYang, a.yin, a.yang);
    formRatio(a.upperLower, a.upper, a.lower);
    const auto [smallest, largest] = std::minmax_element(a.sideSums.begin(), a.sideSums.end());
    formRatio(a.autonomic, double(*largest), double(*smallest));
    a.bodyEnergy.value = a.mean;
    a.bodyEnergy.verdictKey = verdictOf(a.mean, a.bodyEnergy.low, a.bodyEnergy.high);

    for (int m = 0; m < Channels::MeridianCount; ++m) {
        a.musculoskeletal.first.append(bar(a, m, true, false, true));
        a.musculoskeletal.second.append(bar(a, m, false, false, true));
    }
    appendBars(a.metabolism.first, a, 1, 6, 1, true);
    appendBars(a.metabolism.first, a, 13, 18, 1, true);
    appendBars(a.metabolism.second, a, 7, 12, 1, true);
    appendBars(a.metabolism.second, a, 19, 24, 1, true);
    appendBars(a.mental.first, a, 1, 12, 1, true);
    appendBars(a.mental.second, a, 13, 24, 1, true);
    appendBars(a.autonomicLeft.first, a, 1, 11, 2, true);
    appendBars(a.autonomicLeft.second, a, 13, 23, 2, true);
    appendBars(a.autonomicRight.first, a, 2, 12, 2, true);
    appendBars(a.autonomicRight.second, a, 14, 24, 2, true);

    struct Pair {
        const char *key;
        int internal;
        int external;
    };
    static const Pair pairs[6] = {{"Metal", LU, LI},       {"MinisterialFire", PC, TH},
                                  {"MonarchFire", HT, SI}, {"Earth", SP, ST},
                                  {"Wood", LV, GB},        {"Water", KI, BL}};
    for (int row = 0; row < 6; ++row) {
        const auto &I = a.meridians[size_t(pairs[row].internal)];
        const auto &E = a.meridians[size_t(pairs[row].external)];
        ElementRow &e = a.elements[size_t(row)];
        e.elementKey = QLatin1String(pairs[row].key);
        e.internalCode = I.code;
        e.externalCode = E.code;
        e.internalSum = qint64(I.left) + I.right;
        e.externalSum = qint64(E.left) + E.right;
        e.d = (double(e.internalSum) - double(e.externalSum)) * 0.5;
        e.verdictKey = elementVerdictOf(e.d);
        e.hasBar = e.d != 0;
        if (e.d < 0) {
            // The bar shows the difference the table gives, below the axis; a bar of 0 beside
            // a table saying -22.5 would tell two stories.
            e.barValue = e.d;
            e.barColor = Red;
        } else if (e.d > 0) {
            e.barValue = e.d;
            e.barColor = e.d < 52.3 ? Blue : e.d < 97.46 ? Green : Red;
        }
    }

    for (int c = 0; c < Channels::Count; ++c) {
        const bool isLeft = Channels::isLeft(c);
        a.excessDeficient.append(bar(a, c % Channels::MeridianCount, isLeft, true, false));
    }
    // Reorder by channel first (LU left, LU right, PC left ...), then a stable sort keeps
    // that order among equal values.
    std::sort(a.excessDeficient.begin(), a.excessDeficient.end(),
              [](const Bar &x, const Bar &y) { return x.number < y.number; });
    std::stable_sort(a.excessDeficient.begin(), a.excessDeficient.end(),
                     [](const Bar &x, const Bar &y) { return x.value > y.value; });

    a.circadianScale = circadianScaleOf(a.mean);
    struct Period {
        int meridian;
        int startHour;
    };
    static const Period day[12] = {{LV, 1},  {LU, 3},  {LI, 5},  {ST, 7},  {SP, 9},  {HT, 11},
                                   {SI, 13}, {BL, 15}, {KI, 17}, {PC, 19}, {TH, 21}, {GB, 23}};
    for (const Period &p : day) {
        const auto &m = a.meridians[size_t(p.meridian)];
        CircadianSector s;
        s.code = m.code;
        s.startHour = p.startHour;
        s.value = (qint64(m.left) + m.right) / 2;
        s.radius = a.circadianScale * s.value;
        s.x1 = s.y1 = Centre - s.radius;
        s.x2 = s.y2 = Centre + s.radius;
        a.circadianSectors.append(s);
    }
    const double base = a.circadianScale * a.mean;
    const std::pair<double, QColor> circles[3] = {{base, QColor(230, 230, 0)},
                                                  {base * 0.9, QColor(0, 255, 0)},
                                                  {base * 1.1, QColor(0, 255, 0)}};
    for (const auto &[radius, pen] : circles) {
        CircadianCircle c;
        c.radius = radius;
        c.x1 = c.y1 = int(std::trunc(Centre - radius));
        c.x2 = c.y2 = int(std::trunc(Centre + radius));
        c.pen = pen;
        a.circadianCircles.append(c);
    }
    return a;
}
