#include "OpenPointCalendar.h"

#include "app/AppPaths.h"
#include "common/IniFile.h"

#include <QtMath>

#include <array>
#include <cmath>

namespace {
struct PeriodInfo
{
    const char *hours;
    const char *meridian;
};
constexpr std::array<PeriodInfo, OpenPointCalendar::Periods> kPeriods = {{
    {"05-07", "Li"},
    {"07-09", "St"},
    {"09-11", "Sp"},
    {"11-13", "Ht"},
    {"13-15", "Si"},
    {"15-17", "Bl"},
    {"17-19", "Ki"},
    {"19-21", "Pc"},
    {"21-23", "Th"},
    {"23-01", "Gb"},
    {"01-03", "Lv"},
    {"03-05", "Lu"},
}};

bool validPeriod(int period)
{
    return period >= 0 && period < OpenPointCalendar::Periods;
}
} // namespace

int OpenPointCalendar::periodOfTime(const QTime &time)
{
    // Each period starts at an odd hour and runs two hours; 23:00 starts period 9 (23-01).
    const int hour = time.isValid() ? time.hour() : 0;
    return ((hour + 1) / 2 + 9) % Periods;
}

int OpenPointCalendar::columnOfPeriod(int period)
{
    if (!validPeriod(period))
        return 0;
    return ((period + 3) % Periods) + 1;
}

QString OpenPointCalendar::hoursOfPeriod(int period)
{
    return validPeriod(period) ? QLatin1String(kPeriods[size_t(period)].hours) : QString();
}

QString OpenPointCalendar::meridianOfPeriod(int period)
{
    return validPeriod(period) ? QLatin1String(kPeriods[size_t(period)].meridian) : QString();
}

OpenPointCalendar::ClockHit OpenPointCalendar::hitAt(const QPointF &pos)
{
    const double dx = pos.x() - ClockCentreX;
    const double dy = pos.y() - ClockCentreY;
    ClockHit hit;
    if (dx == 0.0 && dy == 0.0) {
        hit.kind = ClockHit::Centre;
        return hit;
    }
    if (std::hypot(dx, dy) >= ClockRadius)
        return hit;
    // Clockwise from 12 o'clock; the top sector spans -15..15 degrees and is period 9 (23-01).
    double angle = qRadiansToDegrees(std::atan2(dx, -dy));
    if (angle < 0)
        angle += 360.0;
    const int sector = int(std::floor((angle + 15.0) / 30.0)) % Periods;
    hit.kind = ClockHit::Sector;
    hit.period = (sector + 9) % Periods;
    return hit;
}

double OpenPointCalendar::sectorMiddle(int period)
{
    return double((period + 3) % Periods) * 30.0;
}

int OpenPointCalendar::stepPeriod(int period, int steps)
{
    if (!validPeriod(period))
        return steps >= 0 ? 9 : 8;
    return ((period + steps) % Periods + Periods) % Periods;
}

qint64 OpenPointCalendar::daysFrom(const QDate &reference, const QDate &date)
{
    return reference.daysTo(date);
}

int OpenPointCalendar::cycleDay(qint64 dayNumber, int cycle)
{
    if (cycle <= 0)
        return 0;
    const qint64 rest = ((dayNumber % cycle) + cycle) % cycle;
    return rest == 0 ? cycle : int(rest);
}

int OpenPointCalendar::cycleDay(const QDate &date, int n0, int cycle)
{
    return cycleDay(daysFrom(referenceDate(), date) + n0, cycle);
}

QDate OpenPointCalendar::dayOf(const QDateTime &moment, bool dayBeginsAt23)
{
    const QDate day = moment.date();
    return dayBeginsAt23 && moment.time().hour() == 23 ? day.addDays(1) : day;
}

namespace {
QString optionsFile()
{
    return AppPaths::dataFile(QStringLiteral("Options.ini"));
}
} // namespace

bool OpenPointCalendar::dayBeginsAt23()
{
    return IniFile(optionsFile()).readBool(QStringLiteral("OpenPoints"), QStringLiteral("DayAt23"), false);
}

bool OpenPointCalendar::setDayBeginsAt23(bool on, QString *error)
{
    IniFile options(optionsFile());
    options.writeInteger(QStringLiteral("OpenPoints"), QStringLiteral("DayAt23"), on ? 1 : 0);
    return options.save(error);
}
