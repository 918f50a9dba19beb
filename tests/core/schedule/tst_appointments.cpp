// Appointments in a real base: storing with its checks, editing and deleting, the day list,
// and today's reminders firing once by the clock.
#include "common/Clock.h"
#include "records/DataModule.h"
#include "schedule/AppointmentBook.h"
#include "schedule/AppointmentReminders.h"
#include "SeedBase.h"

#include <QFile>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTimer>
#include <QtTest>

namespace {

struct Fixture {
    TestEnvironment env;
    DataModule data;
    QString anna;
    QString boris;
    Fixture() {
        openSeedBase(env, data);
        anna = addClient(data, "Anna", QString::fromUtf8("Кострова"));
        boris = addClient(data, "Boris", "Lind");
    }
    Appointment make(const QString &client, QDate day, QTime begin, QTime end) const {
        Appointment a;
        a.clientId = client;
        a.day = day;
        a.begin = begin;
        a.end = end;
        return a;
    }
    // Half an hour that reminds by a message `lead` minutes before it starts.
    Appointment reminding(const QString &client, QDate day, QTime begin, int lead,
                          const QString &text) const {
        Appointment a = make(client, day, begin, begin.addSecs(1800));
        a.remind = true;
        a.lead = {lead, LeadTime::Minutes};
        a.message = true;
        a.text = text;
        return a;
    }
    // A real file for reminders that play a sound.
    QString soundFile() const {
        const QString path = env.scratch("s") + "/bell.wav";
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write("RIFF");
        return path;
    }
};

const QDate kDay(2026, 3, 10);

} // namespace

class TestAppointments : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { Clock::setNow({}); }

    void storesWithItsChecks() {
        Fixture f;
        AppointmentBook book(&f.data);
        QString error;

        Appointment first = f.make(f.anna, kDay, QTime(10, 0), QTime(10, 30));
        first.comment = QString::fromUtf8("Первичный приём");
        QVERIFY(book.store(first, std::nullopt, &error).ok());

        // The same start on the same day is taken; on another day it is free.
        Appointment clash = f.make(f.boris, kDay, QTime(10, 0), QTime(11, 0));
        QCOMPARE(book.store(clash).key, "TimeAlreadyUsed");
        Appointment nextDay = f.make(f.boris, kDay.addDays(1), QTime(10, 0), QTime(11, 0));
        QVERIFY(book.store(nextDay).ok());

        // Start equal to end is accepted.
        Appointment instant = f.make(f.boris, kDay, QTime(8, 0), QTime(8, 0));
        QVERIFY(book.store(instant).ok());

        // The day list: earliest first, with the client's name.
        const QList<Appointment> day = book.day(kDay, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(day.size(), 2);
        QCOMPARE(day.at(0).begin, QTime(8, 0));
        QCOMPARE(day.at(0).clientName, "Boris Lind");
        QCOMPARE(day.at(1).begin, QTime(10, 0));
        QCOMPARE(day.at(1).clientName, QString::fromUtf8("Anna Кострова"));
        QCOMPARE(day.at(1).comment, QString::fromUtf8("Первичный приём"));
        QCOMPARE(day.at(1).end, QTime(10, 30));
    }

    void reminderColumnsFollowTheChoice() {
        Fixture f;
        AppointmentBook book(&f.data);
        Appointment a = f.make(f.anna, kDay, QTime(9, 0), QTime(9, 45));
        a.remind = true;
        a.lead = {1, LeadTime::Days};
        a.sound = true;
        a.melody = "/sounds/bell.wav";
        a.message = true;
        a.text = "Anna tomorrow";
        QVERIFY(book.store(a).ok());

        Appointment plain = f.make(f.boris, kDay, QTime(11, 0), QTime(11, 45));
        plain.remind = false;
        plain.sound = true; // without a reminder the ways are not kept
        plain.melody = "/sounds/bell.wav";
        QVERIFY(book.store(plain).ok());

        QSqlQuery q(f.data.database());
        QVERIFY(q.exec(
            QStringLiteral("SELECT ID, REMEMBER_DAY, REMEMBER_TIME, REMEMBER_COUNT, SOUND, "
                           "MESSAGE, MADE, TEXT, MELODY FROM REMINDER ORDER BY BEGIN_TIME")));
        QVERIFY(q.next());
        QCOMPARE(q.value(1).toDate(), kDay.addDays(-1));
        QCOMPARE(q.value(2).toTime(), QTime(9, 0));
        QCOMPARE(q.value(3).toString(), "13");
        QCOMPARE(q.value(4).toInt(), 1);
        QCOMPARE(q.value(5).toInt(), 1);
        QCOMPARE(q.value(6).toInt(), 0);
        QCOMPARE(q.value(7).toString(), "Anna tomorrow");
        QCOMPARE(q.value(8).toString(), "/sounds/bell.wav");
        QVERIFY(q.next());
        QVERIFY(q.value(1).isNull());
        QVERIFY(q.value(2).isNull());
        QCOMPARE(q.value(4).toInt(), 0);
        QVERIFY(q.value(8).toString().isEmpty());
    }

    void editingAndDeleting() {
        Fixture f;
        AppointmentBook book(&f.data);
        Appointment a = f.make(f.anna, kDay, QTime(9, 0), QTime(9, 30));
        QVERIFY(book.store(a).ok());
        Appointment b = f.make(f.boris, kDay, QTime(11, 0), QTime(11, 30));
        QVERIFY(book.store(b).ok());

        // An edit keeps its own start without clashing with itself ...
        Appointment edit = *book.find(a.key());
        edit.end = QTime(10, 0);
        QVERIFY(book.store(edit, a.key()).ok());
        // ... but cannot take another appointment's start.
        Appointment moved = edit;
        moved.begin = QTime(11, 0);
        moved.end = QTime(12, 0);
        QCOMPARE(book.store(moved, edit.key()).key, "TimeAlreadyUsed");
        // Moving to a free time replaces the row, it does not add one.
        moved.begin = QTime(14, 0);
        moved.end = QTime(14, 30);
        QVERIFY(book.store(moved, edit.key()).ok());
        QList<Appointment> day = book.day(kDay);
        QCOMPARE(day.size(), 2);
        QCOMPARE(day.at(1).begin, QTime(14, 0));
        QCOMPARE(day.at(1).clientId, f.anna);

        // An appointment deleted meanwhile is not brought back by an edit.
        QVERIFY(book.remove(moved.key()));
        Appointment ghost = moved;
        ghost.comment = "late change";
        QCOMPARE(book.store(ghost, moved.key()).key, "Error");
        day = book.day(kDay);
        QCOMPARE(day.size(), 1);
        QCOMPARE(day.first().clientId, f.boris);
    }

    void remindersFireOnceByTheClock() {
        Fixture f;
        AppointmentBook book(&f.data);
        const QString bell = f.soundFile();
        Clock::setNow(QDateTime(kDay, QTime(8, 0)));

        auto add = [&](QTime begin, const QString &melody, const QString &text) {
            Appointment a = f.reminding(f.anna, kDay, begin, 10, text);
            a.sound = !melody.isEmpty();
            a.melody = melody;
            QVERIFY(book.store(a).ok());
        };
        add(QTime(9, 0), bell, "with sound");                   // 08:50
        add(QTime(9, 5), "/nowhere/gone.wav", "sound missing"); // 08:55
        add(QTime(9, 10), QString(), "message only");           // 09:00
        // A reminder of another day is not today's.
        Appointment tomorrow = f.reminding(f.boris, kDay.addDays(2), QTime(9, 0), 10, "not today");
        QVERIFY(book.store(tomorrow).ok());

        AppointmentReminders reminders(&f.data);
        QSignalSpy sounds(&reminders, &AppointmentReminders::soundDue);
        QSignalSpy messages(&reminders, &AppointmentReminders::messageDue);
        reminders.start();
        QVERIFY(reminders.timer()->isActive());
        QCOMPARE(reminders.entries().size(), 3);

        Clock::setNow(QDateTime(kDay, QTime(8, 50)));
        reminders.tick(); // not earlier than now yet
        QCOMPARE(sounds.size() + messages.size(), 0);

        Clock::setNow(QDateTime(kDay, QTime(8, 50, 1)));
        reminders.tick();
        QCOMPARE(sounds.size(), 1); // the sound plays, its message is not shown
        QCOMPARE(sounds.first().first().toString(), bell);
        QCOMPARE(messages.size(), 0);

        Clock::setNow(QDateTime(kDay, QTime(9, 30)));
        reminders.tick();
        reminders.tick();
        QCOMPARE(sounds.size(), 1);
        QCOMPARE(messages.size(), 2); // the missing sound falls back to its message
        QCOMPARE(messages.at(0).first().toString(), "sound missing");
        QCOMPARE(messages.at(1).first().toString(), "message only");

        // A message box left open runs later ticks: the reminder it shows is not repeated.
        connect(&reminders, &AppointmentReminders::messageDue, &reminders,
                [&reminders] { reminders.tick(); });
        add(QTime(9, 35), QString(), "nested");
        reminders.reload();
        reminders.tick();
        QCOMPARE(messages.size(), 3);
    }

    void firedMarksSurviveARestartAndMidnightBringsTheNewDay() {
        Fixture f;
        AppointmentBook book(&f.data);
        Clock::setNow(QDateTime(kDay, QTime(9, 0)));
        Appointment a = f.reminding(f.anna, kDay, QTime(9, 30), 20, "today");
        QVERIFY(book.store(a).ok());
        Appointment b = f.reminding(f.boris, kDay.addDays(1), QTime(0, 20), 10, "after midnight");
        QVERIFY(book.store(b).ok());

        {
            AppointmentReminders first(&f.data);
            QSignalSpy messages(&first, &AppointmentReminders::messageDue);
            first.start();
            Clock::setNow(QDateTime(kDay, QTime(9, 15)));
            first.tick();
            QCOMPARE(messages.size(), 1);
            first.saveMade();
            QVERIFY(first.lastError().isEmpty());
        }
        QVERIFY(book.find(a.key())->made);
        {
            // After a restart the fired reminder stays quiet.
            AppointmentReminders again(&f.data);
            QSignalSpy messages(&again, &AppointmentReminders::messageDue);
            again.start();
            again.tick();
            QCOMPARE(messages.size(), 0);

            // Past midnight the new day's reminders are read and fire.
            Clock::setNow(QDateTime(kDay.addDays(1), QTime(0, 10, 1)));
            again.tick();
            QCOMPARE(again.day(), kDay.addDays(1));
            QCOMPARE(messages.size(), 1);
            QCOMPARE(messages.first().first().toString(), "after midnight");
        }

        // Moving a fired reminder makes it due again; editing the note alone does not.
        Appointment note = *book.find(a.key());
        note.comment = "bring the results";
        QVERIFY(book.store(note, a.key()).ok());
        QVERIFY(book.find(a.key())->made);
        note.lead = {5, LeadTime::Minutes};
        QVERIFY(book.store(note, a.key()).ok());
        QVERIFY(!book.find(a.key())->made);
    }
};

QTEST_GUILESS_MAIN(TestAppointments)
#include "tst_appointments.moc"
