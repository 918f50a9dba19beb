#pragma once

#include "records/Channels.h"

#include <QColor>
#include <QDateTime>
#include <QList>
#include <QString>

#include <array>
#include <optional>

struct TestRecord;

// The meridian analysis of one test: group sums, ratios with their verdicts, the coupled
// yin/yang comparison per element, the bar series of the system tabs, the excess/deficient
// order and the organ-clock chart. Its own arithmetic, independent of the corridor: sums are
// whole numbers rounded to hundredths, the mean a two-decimal value.
//
// Plain values only; every word is a language key (translate when shown).
struct MeridianAnalysis {
    // One meridian's pair of readings.
    struct Meridian {
        QString code; // "LU"
        int left = 0;
        int right = 0;
    };

    // A ratio and its verdict. `value` is empty when the denominator is 0: then nothing is
    // shown, no value and no verdict.
    struct Ratio {
        std::optional<double> value;
        double low = 0;
        double high = 0;
        QString verdictKey; // "LOW", "HIGH", "Normal"; empty without a value
    };

    // One bar of a chart; the bars start at the mean.
    struct Bar {
        int number = 0;  // 1 = LU left, 2 = LU right, 3 = PC left ... 24 = ST right
        int channel = 0; // canonical channel index
        QString label;
        int value = 0;
        QColor color;
    };
    using Series = QList<Bar>;

    struct SystemChart {
        Series first;
        Series second;
    };

    // One row of the external-internal grid (rows 1 to 6) and its bar.
    struct ElementRow {
        QString elementKey; // "Metal" ...
        QString internalCode;
        QString externalCode;
        qint64 internalSum = 0; // 64-bit: two corrupt readings cannot overflow the sum
        qint64 externalSum = 0;
        double d = 0;        // (internal - external) / 2
        QString verdictKey;  // empty at d = 0
        bool hasBar = false; // no bar at d = 0
        double barValue = 0; // d itself, below the axis when negative
        QColor barColor;
    };

    struct CircadianSector {
        QString code;
        int startHour = 0; // the two-hour period, e.g. 1 for LV (1-3)
        qint64 value = 0;  // (left + right) / 2, truncated
        qint64 radius = 0; // scale * value
        // Bounding box of the sector's circle around (200, 200).
        qint64 x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    };
    struct CircadianCircle {
        double radius = 0;
        int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        QColor pen;
    };

    bool hasTest = false; // false: no test carries the date; everything below is empty/zero

    // LU, PC, HT, SI, TH, LI, SP, LV, KI, BL, GB, ST: left and right of each.
    using MeridianCollection = std::array<Meridian, Channels::MeridianCount>;
    MeridianCollection meridians{};

    // Group-side sums: left then right of groups A (hand yin), B (hand yang), C (foot yin),
    // D (foot yang).
    std::array<qint64, 8> sideSums{};
    double groupA = 0, groupB = 0, groupC = 0, groupD = 0;
    double totalLeft = 0, totalRight = 0;
    double upper = 0, lower = 0, yin = 0, yang = 0, total = 0;
    double mean = 0;

    // The bands are fixed, so they are known even without a test.
    Ratio leftRight{{}, 0.8, 1.1, {}};  // musculoskeletal
    Ratio yinYang{{}, 0.8, 1.1, {}};    // metabolism
    Ratio upperLower{{}, 0.9, 1.15, {}}; // mental
    Ratio autonomic{{}, 1.0, 1.15, {}}; // largest / smallest group-side sum
    Ratio bodyEnergy{{}, 56, 118, {}};  // the mean

    SystemChart musculoskeletal; // left / right values
    SystemChart metabolism;      // yin / yang meridians
    SystemChart mental;          // hand / foot meridians
    SystemChart autonomicLeft;   // left hand / left foot
    SystemChart autonomicRight;  // right hand / right foot

    std::array<ElementRow, 6> elements{};
    QList<Bar> excessDeficient; // all 24, largest first, equal values in channel order

    int circadianScale = 1;
    QList<CircadianSector> circadianSectors; // LV, LU, LI, ... GB: the day from 1 h
    QList<CircadianCircle> circadianCircles; // mean, 0.9 mean, 1.1 mean

    // Two-decimal rounding: trunc(x / 0.01 + 0.5) * 0.01 in double precision.
    static double R2(double x);
    // A number as the window shows it: shortest general form ("1.1", "105.5", "4").
    static QString numberText(double x);
    // A ratio with two decimals always ("1.00", "1.20", "0.97"), so a column of them reads
    // alike; from 10 on as numberText().
    static QString ratioText(double x);
    // LOW at or below `low`, HIGH at or above `high`, Normal between; compared in hundredths
    // so a ratio that rounds to exactly a bound counts as that bound.
    static QString verdictOf(double value, double low, double high);
    // The organ-clock scale for a mean: small means are drawn larger to stay readable.
    static int circadianScaleOf(double mean);
    // The external-internal verdict of a difference; empty for 0.
    static QString elementVerdictOf(double d);

    static MeridianAnalysis analyse(const TestRecord &test);
    // From the 24 values in canonical channel order.
    static MeridianAnalysis analyse(const std::array<int, Channels::Count> &values);
    // The first test at `moment`; an empty analysis (hasTest false) when none carries it.
    static MeridianAnalysis analyseTestAt(const QList<TestRecord> &tests, const QDateTime &moment);
};
