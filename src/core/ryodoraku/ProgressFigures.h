#pragma once

#include "ConductionClass.h"
#include "records/Channels.h"

#include <QDate>
#include <QDateTime>
#include <QList>

#include <array>

struct TestRecord;

// The balance of one test in a few figures, for following a client over a course of tests:
// how many channels lie outside the corridor, how far the values spread around their mean,
// how far the left and right sides differ, and each channel's deviation with its class. The
// progress view, the report and the export all take them from here.
struct ProgressFigures
{
    QDateTime when;
    int codeTest = 0;
    int mean = 0;    // the corridor's mean (whole number, as everywhere else)
    int outside = 0; // channels outside the corridor, 0..24
    // Mean of |value - mean| over the 24 channels, in percent of the mean.
    double meanDeviation = 0;
    // Mean of |left - right| over the 12 meridians, in percent of the mean.
    double sideDifference = 0;
    // Per channel, canonical order: the deviation in percent as the channel cards show it, and
    // the class against the corridor.
    std::array<int, Channels::Count> deviation{};
    std::array<ConductionClass, Channels::Count> classes{};

    // A mean of 0 (nothing measured) gives 0 for every figure and every channel normal.
    static ProgressFigures of(const TestRecord &test, int percent);
};

// The figures of a client's tests, oldest first; tests outside [from, to] are left out (an
// invalid date leaves that end open).
QList<ProgressFigures> progressOf(const QList<TestRecord> &tests, int percent,
                                  const QDate &from = QDate(), const QDate &to = QDate());
