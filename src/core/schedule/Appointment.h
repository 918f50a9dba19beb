#pragma once

#include "LeadTime.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

// Names one appointment: a day holds at most one appointment per start time.
struct AppointmentKey
{
    QDate day;
    QTime begin;
    bool operator==(const AppointmentKey &other) const = default;
};

// One appointment of a client (a row of REMINDER). A day holds at most one appointment per
// start time, so (day, begin) names it.
struct Appointment
{
    // Column sizes of the table.
    static constexpr int MaxComment = 2000;
    static constexpr int MaxText = 1000;
    static constexpr int MaxMelody = 500;
    static constexpr int MaxClientId = 16;

    QString clientId;       // CLIENTS.CODE_CLIENT
    QString clientName;     // "Name Surname" of that client, when read from the base
    QDate day;
    QTime begin;
    QTime end;
    // The reminder; when `remind` is false the reminder columns stay empty.
    bool remind = false;
    LeadTime lead;
    QDateTime reminderAt;   // the moment of the reminder (invalid without one)
    bool sound = false;
    bool message = false;
    QString comment;
    bool made = false;      // the reminder has fired
    QString text;           // the reminder's message
    QString melody;         // the reminder's sound file

    AppointmentKey key() const { return {day, begin}; }
    QDateTime start() const { return QDateTime(day, begin); }
    // Sets reminderAt from the day, the start and the lead time (invalid without a reminder).
    void computeReminder()
    {
        reminderAt = remind ? lead.before(start()) : QDateTime();
    }
};
