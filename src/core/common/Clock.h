#pragma once

#include <QDateTime>

// The one source of "now" for the program, so tests can set the time.
class Clock
{
public:
    static QDateTime now();
    static QDate today() { return now().date(); }
    // Tests fix the time with setNow(); an invalid date-time returns to the system clock.
    static void setNow(const QDateTime &fixed);
};
