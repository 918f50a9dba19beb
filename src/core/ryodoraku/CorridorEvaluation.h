#pragma once

#include "ConductionClass.h"
#include "records/Channels.h"

#include <QString>

#include <array>
#include <optional>

struct TestRecord;

// The corridor of one test: the integer mean of its 24 values and the half-width of the
// corridor around it, from the practitioner's percentage. Nothing of it is stored; it is
// computed afresh whenever a view or graph needs it.
struct CorridorEvaluation
{
    int mean = 0;
    int halfWidth = 0;
    std::array<int, Channels::Count> values{}; // canonical channel order

    // mean + halfWidth and mean - halfWidth: a value on either bound is still normal.
    int upper() const { return mean + halfWidth; }
    int lower() const { return mean - halfWidth; }

    // The half-width as the measuring program has always computed it: 0.01 held in extended
    // precision (just below 0.01) times the percentage, times the mean, truncated. An exact
    // product therefore comes out one lower: 10 % of 100 gives 9.
    static int halfWidthOf(int percent, int mean);
    // (value - mean) * 100 / mean, truncated toward zero; 0 when the mean is 0.
    int deviation(int value) const;
    // How many of the 24 values lie outside the corridor (above or below it).
    int outsideCount() const;

    // The percentage as the settings field shows it ("10", " 10 %" is not accepted): a whole
    // number from 1 to 99. Anything else gives no value and a message for the user.
    static std::optional<int> parsePercent(const QString &text, QString *error = nullptr);
};

CorridorEvaluation evaluate(const TestRecord &test, int percent);
ConductionClass classify(int value, const CorridorEvaluation &corridor);
