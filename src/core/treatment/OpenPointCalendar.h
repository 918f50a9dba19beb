#pragma once

#include <QDate>
#include <QDateTime>
#include <QPointF>
#include <QString>
#include <QTime>

// The calendar side of the open points: the two-hour period of a clock time or of a click on
// the meridian clock, the table column of a period, and the day of a method's cycle for a date.
// Periods are numbered 0 (05-07) to 11 (03-05); table columns H run 1 (23-01) to 12 (21-23).
class OpenPointCalendar
{
public:
    static constexpr int Periods = 12;
    static constexpr int NoPeriod = -1;

    // The clock is drawn in a 240 x 200 picture around this centre.
    static constexpr int ClockWidth = 240;
    static constexpr int ClockHeight = 200;
    static constexpr int ClockCentreX = 120;
    static constexpr int ClockCentreY = 100;
    static constexpr int ClockRadius = 90;

    // The date the day count starts from; its day number comes from Data/LastDay.dat.
    static QDate referenceDate() { return QDate(2006, 3, 23); }

    static int periodOfTime(const QTime &time);
    // H = ((period + 3) mod 12) + 1.
    static int columnOfPeriod(int period);
    // "05-07" ... "03-05".
    static QString hoursOfPeriod(int period);
    // The meridian whose flow the period carries on the organ clock: "Li" ... "Lu".
    static QString meridianOfPeriod(int period);

    // What a press on the clock picture means.
    struct ClockHit
    {
        enum Kind { Outside, Centre, Sector };
        Kind kind = Outside;
        int period = NoPeriod;
    };
    static ClockHit hitAt(const QPointF &pos);
    // The clockwise angle from 12 o'clock, in degrees, of the middle of a period's sector.
    static double sectorMiddle(int period);
    // The period whose sector comes `steps` sectors clockwise (negative: counter-clockwise).
    static int stepPeriod(int period, int steps);

    // Whole days from `reference` to `date`, negative for earlier dates.
    static qint64 daysFrom(const QDate &reference, const QDate &date);
    // The day (1..cycle) of a cycle for day number D: D mod cycle with 0 read as cycle. Numbers
    // below zero keep counting backwards, so the cycle runs on without a jump at the reference.
    static int cycleDay(qint64 dayNumber, int cycle);
    // cycleDay(days from the reference date to `date` + n0, cycle).
    static int cycleDay(const QDate &date, int n0, int cycle);

    // The day a moment is reckoned to. By default the calendar day; schools that let the day
    // begin with the zi period at 23:00 count 23:00-23:59 to the next day.
    static QDate dayOf(const QDateTime &moment, bool dayBeginsAt23);
    // The practitioner's choice between the two, kept in Options.ini ([OpenPoints] DayAt23).
    static bool dayBeginsAt23();
    static bool setDayBeginsAt23(bool on, QString *error = nullptr);
};
