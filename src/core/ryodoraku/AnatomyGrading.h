#pragma once

#include "records/Channels.h"

#include <QColor>
#include <QList>
#include <QString>

#include <array>

// What the anatomy display is told about one test: a colour per body region and one
// statistics line per channel.
//
// The grading, against the integer mean m = (sum of the 24 values) / 24:
//   percent p = ceil(|value - m| * 100 / m), limited to 100 (the ranges above and below m
//   both end at 100 %; with m = 0, p is 0 for a value of 0 and 100 otherwise);
//   p <= 11 (within the band of 11 % of m)  -> grade 3, green;
//   above m:  p <= 40 -> grade 2, p <= 70 -> grade 1, beyond -> grade 0 (dark red);
//   below m:  p <= 40 -> grade 4, p <= 70 -> grade 5, beyond -> grade 6 (dark blue).
// A region takes the colour of its channel's grade, as a Windows colour value (red in the low
// byte). Rounding up makes a value just outside the band leave green at once.
struct AnatomyGrading {
    struct Region {
        int region = 0;
        int channel = 0; // the channel whose value coloured it
        int colorValue = 0;
    };
    struct StatisticsLine {
        QString text; // "12%", "-40%": the deviation as the channel cards give it
        int grade = 3;
        QColor color;
    };

    int mean = 0;
    QList<Region> regions;                               // 14 calls of SetColor
    std::array<StatisticsLine, Channels::Count> lines{}; // canonical channel order

    static int integerMean(const std::array<int, Channels::Count> &values);
    static int percentOf(int value, int mean);
    static int gradeOf(int value, int mean);
    static QColor gradeColor(int grade); // grey for a grade outside 0..6
    // Red | green << 8 | blue << 16.
    static int colorValue(const QColor &color);
    // 1 selects the female body model: the client card stores "1" for female.
    static int bodyModelOf(const QString &sexCode);

    static AnatomyGrading grade(const std::array<int, Channels::Count> &values);
};
