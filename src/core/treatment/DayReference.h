#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The day number N0 of the reference date, kept in Data/LastDay.dat: the first line starts
// with the date as text (10 characters, not used), the second line starts with N0 as two
// decimal digits.
class DayReference
{
public:
    static QString fileName() { return QStringLiteral("LastDay.dat"); }
    // N0 from the lines of the file; nothing when the second line does not start with a number.
    static std::optional<int> parse(const QStringList &lines);
    // N0 from the file in `folder` (name matched without regard to case).
    static std::optional<int> read(const QString &folder);
};
