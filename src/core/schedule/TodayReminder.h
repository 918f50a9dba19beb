#pragma once

#include "Appointment.h"

#include <QDateTime>
#include <QString>

// One reminder of the current day, held in memory while the program runs.
struct TodayReminder
{
    AppointmentKey appointment;
    QDateTime moment;
    QString text;    // message, empty when none
    QString melody;  // sound file, empty when none
    QString clientId;
    bool made = false;
};
