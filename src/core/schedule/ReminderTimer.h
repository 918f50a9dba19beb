#pragma once

#include <QDateTime>
#include <QString>

// One row of the reminder timers window: a named count-down with a sound and/or a message.
struct ReminderTimer
{
    QString name;
    QDateTime begin;
    QDateTime end;      // when it fires
    bool active = false;
    QString hours = QStringLiteral("00");   // the duration as typed
    QString minutes = QStringLiteral("00");
    QString message;    // empty when none
    QString sound;      // sound file, empty when none
};
