#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// How long before an appointment its reminder comes: a count of seconds, minutes, hours or
// days. The unit numbers are stored with the appointment, so their order is fixed.
struct LeadTime
{
    enum Unit { Seconds = 0, Minutes = 1, Hours = 2, Days = 3 };
    static constexpr int MaxCount = 60;

    int count = 10;
    Unit unit = Minutes;

    // The moment of the reminder for an appointment that starts at `start`.
    QDateTime before(const QDateTime &start) const;

    // The stored form (REMEMBER_COUNT): the count followed by the unit number, "101" for ten
    // minutes. decode() refuses anything else, including counts out of 0..MaxCount.
    QString encode() const;
    static std::optional<LeadTime> decode(const QString &text);

    bool operator==(const LeadTime &other) const = default;
};
