#include "ryodoraku/AnatomyGrading.h"
#include "ryodoraku/CorridorEvaluation.h"

#include <cstdlib>

namespace {

// The display's region numbers. LU and KI have one region per side; every other meridian has
// one region, coloured by the side farther from the mean.
struct RegionOf {
    const char *meridian;
    int left;
    int right; // 0: one region for both sides
};
const RegionOf Regions[] = {{"LU", 4, 18}, {"KI", 5, 19}, {"PC", 2, 0},  {"HT", 1, 0},
                            {"SI", 7, 0},  {"TH", 3, 0},  {"LI", 8, 0},  {"SP", 15, 0},
                            {"LV", 9, 0},  {"BL", 17, 0}, {"GB", 16, 0}, {"ST", 6, 0}};

} // namespace

int AnatomyGrading::integerMean(const std::array<int, Channels::Count> &values) {
    long long sum = 0;
    for (int v : values)
        sum += v;
    return int(sum / Channels::Count);
}

int AnatomyGrading::percentOf(int value, int mean) {
    const long long distance = std::llabs(static_cast<long long>(value) - mean);
    if (distance == 0)
        return 0;
    if (mean <= 0)
        return 100;
    const long long p = (distance * 100 + mean - 1) / mean; // rounded up
    return int(p > 100 ? 100 : p);
}

int AnatomyGrading::gradeOf(int value, int mean) {
    const int p = percentOf(value, mean);
    if (p <= 11)
        return 3;
    const int step = p <= 40 ? 1 : p <= 70 ? 2 : 3;
    return value > mean ? 3 - step : 3 + step;
}

QColor AnatomyGrading::gradeColor(int grade) {
    static const QColor colors[7] = {
        QColor(106, 0, 0),     QColor(240, 0, 0),     QColor(253, 191, 162), QColor(0, 149, 0),
        QColor(179, 236, 244), QColor(123, 148, 210), QColor(0, 0, 151)};
    return grade >= 0 && grade <= 6 ? colors[grade] : QColor(200, 200, 200);
}

int AnatomyGrading::colorValue(const QColor &color) {
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

int AnatomyGrading::bodyModelOf(const QString &sexCode) {
    return sexCode.trimmed() == QLatin1String("1") ? 1 : 0;
}

AnatomyGrading AnatomyGrading::grade(const std::array<int, Channels::Count> &values) {
    AnatomyGrading g;
    g.mean = integerMean(values);
    auto regionOf = [&g](int region, int channel, int value) {
        g.regions.append({region, channel, colorValue(gradeColor(gradeOf(value, g.mean)))});
    };
    for (const RegionOf &r : Regions) {
        const QString code = QLatin1String(r.meridian);
        const int l = Channels::indexOf(QLatin1Char('L'), code);
        const int rt = Channels::indexOf(QLatin1Char('R'), code);
        const int lv = values[size_t(l)];
        const int rv = values[size_t(rt)];
        if (r.right != 0) {
            regionOf(r.left, l, lv);
            regionOf(r.right, rt, rv);
        } else {
            const bool leftFarther = std::llabs(static_cast<long long>(lv) - g.mean) >
                                     std::llabs(static_cast<long long>(rv) - g.mean);
            regionOf(r.left, leftFarther ? l : rt, leftFarther ? lv : rv);
        }
    }
    for (int c = 0; c < Channels::Count; ++c) {
        StatisticsLine &line = g.lines[size_t(c)];
        const int v = values[size_t(c)];
        // The number as the channel cards write it (signed, truncated), so that the two views
        // never disagree; the grade keeps its rounding up.
        CorridorEvaluation corridor;
        corridor.mean = g.mean;
        line.text = QString::number(corridor.deviation(v)) + QLatin1Char('%');
        line.grade = gradeOf(v, g.mean);
        line.color = gradeColor(line.grade);
    }
    return g;
}
