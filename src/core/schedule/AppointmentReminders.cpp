#include "AppointmentReminders.h"

#include "AppointmentBook.h"
#include "common/Clock.h"
#include "records/DataModule.h"

#include <QFileInfo>
#include <QTimer>

AppointmentReminders::AppointmentReminders(DataModule *data, QObject *parent)
    : QObject(parent)
    , m_data(data)
    , m_timer(new QTimer(this))
{
    m_timer->setObjectName(QStringLiteral("PlanTimer"));
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &AppointmentReminders::tick);
}

void AppointmentReminders::start()
{
    reload();
    m_timer->start();
}

void AppointmentReminders::stop()
{
    m_timer->stop();
}

void AppointmentReminders::reload()
{
    const QDate today = Clock::today();
    QList<TodayReminder> fired;
    if (today == m_day) {
        for (const TodayReminder &r : std::as_const(m_entries)) {
            if (r.made)
                fired.append(r);
        }
    }
    m_day = today;
    m_entries.clear();
    QString error;
    const QList<Appointment> rows = AppointmentBook(m_data).remindersOn(today, &error);
    m_error = error;
    for (const Appointment &a : rows) {
        TodayReminder r;
        r.appointment = a.key();
        r.moment = a.reminderAt;
        r.text = a.message ? a.text : QString();
        r.melody = a.sound ? a.melody : QString();
        r.clientId = a.clientId;
        r.made = a.made;
        // A mark that could not be written yet is kept from memory.
        for (const TodayReminder &f : std::as_const(fired)) {
            if (f.appointment == r.appointment && f.moment == r.moment)
                r.made = true;
        }
        m_entries.append(r);
    }
}

void AppointmentReminders::saveMade()
{
    AppointmentBook book(m_data);
    for (const TodayReminder &r : std::as_const(m_entries)) {
        QString error;
        if (!book.setMade(r.appointment, r.made, &error))
            m_error = error;
    }
}

void AppointmentReminders::tick()
{
    const QDateTime now = Clock::now();
    if (now.date() != m_day)
        reload();

    // Everything due is marked first; the signals go out afterwards, as a message box opened
    // by one of them runs later ticks in the meantime.
    QList<std::pair<bool, QString>> alerts; // (sound?, melody or text)
    AppointmentBook book(m_data);
    for (TodayReminder &r : m_entries) {
        if (r.made || !r.moment.isValid() || !(r.moment < now))
            continue;
        r.made = true;
        if (!r.melody.isEmpty() && QFileInfo::exists(r.melody))
            alerts.append({true, r.melody});
        else if (!r.text.isEmpty())
            alerts.append({false, r.text});
        QString error;
        if (!book.setMade(r.appointment, true, &error))
            m_error = error;
    }
    for (const auto &[sound, value] : std::as_const(alerts)) {
        if (sound)
            Q_EMIT soundDue(value);
        else
            Q_EMIT messageDue(value);
    }
}
