#pragma once

#include "TodayReminder.h"

#include <QDate>
#include <QList>
#include <QObject>
#include <QPointer>

class DataModule;
class QTimer;

// Today's appointment reminders and the one-second timer (`PlanTimer`) that fires them.
//
// A reminder fires once, at the first tick after its moment: with a sound file that exists it
// asks for the sound, otherwise for its message. It is marked as fired before anyone is told,
// so a message box left open over later ticks does not bring it up again, and the mark is
// written to the base at once, so a restart does not repeat it. When the date changes while
// the program runs, the new day's reminders are read.
class AppointmentReminders : public QObject
{
    Q_OBJECT
public:
    explicit AppointmentReminders(DataModule *data, QObject *parent = nullptr);

    // Reads today's reminders and starts the timer (start-up).
    void start();
    // Reads today's reminders again after the schedule changed; fired marks stay.
    void reload();
    // Writes every fired mark to the base (close-down).
    void saveMade();
    void stop();

    QDate day() const { return m_day; }
    const QList<TodayReminder> &entries() const { return m_entries; }
    QTimer *timer() const { return m_timer; }
    // The message of the last failed read or write, empty after good ones.
    QString lastError() const { return m_error; }

    // One round of the timer.
    void tick();

Q_SIGNALS:
    void soundDue(const QString &melody);
    void messageDue(const QString &text);

private:
    QPointer<DataModule> m_data;
    QTimer *m_timer;
    QDate m_day;
    QList<TodayReminder> m_entries;
    QString m_error;
};
