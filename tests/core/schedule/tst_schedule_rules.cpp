// The rules of the schedule without a base or a window: lead times, the checks of an
// appointment, the count-down timers with their file, and the beep.
#include "common/IniFile.h"
#include "schedule/AppointmentCheck.h"
#include "schedule/BeepTone.h"
#include "schedule/LeadTime.h"
#include "schedule/ReminderTimerSet.h"
#include "TestEnvironment.h"

#include <QFile>
#include <QtEndian>
#include <QtTest>

class TestScheduleRules : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void leadTimeMoment_data() {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("unit");
        QTest::addColumn<QDateTime>("expected");
        const QDate d(2026, 3, 10);
        QTest::newRow("10 min before 09:00")
            << QDateTime(d, QTime(9, 0)) << 10 << int(LeadTime::Minutes)
            << QDateTime(d, QTime(8, 50));
        QTest::newRow("1 day before 09:00") << QDateTime(d, QTime(9, 0)) << 1 << int(LeadTime::Days)
                                            << QDateTime(d.addDays(-1), QTime(9, 0));
        QTest::newRow("30 s") << QDateTime(d, QTime(9, 0)) << 30 << int(LeadTime::Seconds)
                              << QDateTime(d, QTime(8, 59, 30));
        QTest::newRow("2 h across midnight")
            << QDateTime(d, QTime(1, 0)) << 2 << int(LeadTime::Hours)
            << QDateTime(d.addDays(-1), QTime(23, 0));
        QTest::newRow("none") << QDateTime(d, QTime(9, 0)) << 0 << int(LeadTime::Minutes)
                              << QDateTime(d, QTime(9, 0));
        QTest::newRow("60 days over a month end")
            << QDateTime(QDate(2026, 3, 1), QTime(12, 0)) << 60 << int(LeadTime::Days)
            << QDateTime(QDate(2025, 12, 31), QTime(12, 0));
    }
    void leadTimeMoment() {
        QFETCH(QDateTime, start);
        QFETCH(int, count);
        QFETCH(int, unit);
        QTEST((LeadTime{count, LeadTime::Unit(unit)}.before(start)), "expected");
    }

    void leadTimeStoredForm_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("unit");
        QTest::newRow("10 min") << "101" << true << 10 << 1;
        QTest::newRow("1 day") << "13" << true << 1 << 3;
        QTest::newRow("0 s") << "00" << true << 0 << 0;
        QTest::newRow("60 h") << "602" << true << 60 << 2;
        QTest::newRow("blanks") << " 52 " << true << 5 << 2;
        QTest::newRow("unit 4") << "104" << false << 0 << 0;
        QTest::newRow("count 61") << "611" << false << 0 << 0;
        QTest::newRow("one digit") << "1" << false << 0 << 0;
        QTest::newRow("letters") << "1a1" << false << 0 << 0;
        QTest::newRow("other digits") << QString::fromUtf8("\u0661\u0661") << false << 0 << 0;
    }
    void leadTimeStoredForm() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(int, count);
        QFETCH(int, unit);
        const std::optional<LeadTime> lead = LeadTime::decode(text);
        QCOMPARE(lead.has_value(), valid);
        if (!valid)
            return;
        QCOMPARE(lead->count, count);
        QCOMPARE(int(lead->unit), unit);
        QCOMPARE(LeadTime::decode(lead->encode()), lead); // what is written reads back alike
    }

    void appointmentChecks_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("field");
        // clang-format off
        QTest::newRow("good") << "" << false << "" << "";
        QTest::newRow("start equals end") << "equal" << false << "" << "";
        QTest::newRow("no client") << "client" << false << "ChooseClient" << "";
        QTest::newRow("start after end") << "interval" << false << "IncorrectTimeInterval" << "";
        QTest::newRow("interval before taken")
            << "interval" << true << "IncorrectTimeInterval" << "";
        QTest::newRow("time taken") << "" << true << "TimeAlreadyUsed" << "";
        QTest::newRow("reminder without a way") << "mode" << false << "RemindModeNotSelected" << "";
        QTest::newRow("no reminder, no way") << "noremind" << false << "" << "";
        QTest::newRow("long note") << "longnote" << false << "FieldTooLong" << "Comment";
        QTest::newRow("note the base cannot hold")
            << "emoji" << false << "FieldNotStorable" << "Comment";
        QTest::newRow("long message") << "longtext" << false << "FieldTooLong" << "Message";
        QTest::newRow("Cyrillic note") << "cyrillic" << false << "" << "";
        // clang-format on
    }
    void appointmentChecks() {
        QFETCH(QString, change);
        QFETCH(bool, taken);
        QFETCH(QString, key);
        QFETCH(QString, field);
        Appointment a;
        a.clientId = "Q71";
        a.day = QDate(2026, 3, 10);
        a.begin = QTime(9, 0);
        a.end = QTime(9, 30);
        a.remind = true;
        a.message = true;
        a.text = "Call the client";
        if (change == QLatin1String("equal"))
            a.end = a.begin;
        if (change == QLatin1String("client"))
            a.clientId = "  ";
        if (change == QLatin1String("interval"))
            a.end = QTime(8, 59);
        if (change == QLatin1String("mode"))
            a.message = false;
        if (change == QLatin1String("noremind"))
            a.remind = a.message = false;
        if (change == QLatin1String("longnote"))
            a.comment = QString(Appointment::MaxComment + 1, QLatin1Char('x'));
        if (change == QLatin1String("emoji"))
            a.comment = QString::fromUtf8("\xF0\x9F\x98\x80");
        if (change == QLatin1String("longtext"))
            a.text = QString(Appointment::MaxText + 1, QLatin1Char('x'));
        if (change == QLatin1String("cyrillic"))
            a.comment = QString::fromUtf8("Повторный приём");
        const AppointmentCheck::Problem p = AppointmentCheck::check(a, taken);
        QCOMPARE(p.key, key);
        QCOMPARE(p.field, field);
    }

    void timerEnd_data() {
        QTest::addColumn<QDateTime>("begin");
        QTest::addColumn<int>("hours");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<QDateTime>("end");
        const QDate d(2026, 3, 10);
        QTest::newRow("same day") << QDateTime(d, QTime(9, 15, 20)) << 1 << 30
                                  << QDateTime(d, QTime(10, 45, 20));
        QTest::newRow("23:30 + 1 h")
            << QDateTime(d, QTime(23, 30)) << 1 << 0 << QDateTime(d.addDays(1), QTime(0, 30));
        QTest::newRow("zero") << QDateTime(d, QTime(12, 0)) << 0 << 0 << QDateTime(d, QTime(12, 0));
        QTest::newRow("longest") << QDateTime(d, QTime(12, 0)) << 23 << 59
                                 << QDateTime(d.addDays(1), QTime(11, 59));
        QTest::newRow("to midnight")
            << QDateTime(d, QTime(23, 0)) << 1 << 0 << QDateTime(d.addDays(1), QTime(0, 0));
    }
    void timerEnd() {
        QFETCH(QDateTime, begin);
        QFETCH(int, hours);
        QFETCH(int, minutes);
        QTEST(ReminderTimerSet::endOf(begin, hours, minutes), "end");
    }

    void timerDurationInput_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("hours");
        QTest::addColumn<bool>("minutes");
        QTest::newRow("00") << "00" << true << true;
        QTest::newRow("23") << "23" << true << true;
        QTest::newRow("24") << "24" << false << true;
        QTest::newRow("59") << "59" << false << true;
        QTest::newRow("60") << "60" << false << false;
        QTest::newRow("blank") << " " << false << false;
        QTest::newRow("1a") << "1a" << false << false;
        QTest::newRow("005") << "005" << false << false;
        QTest::newRow("padded") << " 5 " << true << true;
    }
    void timerDurationInput() {
        QFETCH(QString, text);
        QTEST(ReminderTimerSet::validHours(text), "hours");
        QTEST(ReminderTimerSet::validMinutes(text), "minutes");
    }

    void timerFiresOnceAfterItsEnd() {
        ReminderTimerSet set;
        const QDate d(2026, 3, 10);
        set.row(2).hours = "1";
        set.row(2).minutes = "0";
        QVERIFY(set.start(2, QDateTime(d, QTime(9, 0, 0, 400)))); // milliseconds are dropped
        QCOMPARE(set.row(2).end, QDateTime(d, QTime(10, 0)));
        QVERIFY(set.due(QDateTime(d, QTime(9, 59, 59))).isEmpty());
        QVERIFY(set.due(QDateTime(d, QTime(10, 0, 0))).isEmpty());
        QCOMPARE(set.due(QDateTime(d, QTime(10, 0, 1))), QList<int>{2});
        QVERIFY(!set.row(2).active);
        QVERIFY(set.due(QDateTime(d, QTime(10, 0, 2))).isEmpty()); // once only

        // Started late in the evening, it does not fire before midnight but the next day.
        set.row(5).hours = "1";
        QVERIFY(set.start(5, QDateTime(d, QTime(23, 30))));
        QVERIFY(set.due(QDateTime(d, QTime(23, 59, 59))).isEmpty());
        QVERIFY(set.due(QDateTime(d.addDays(1), QTime(0, 30))).isEmpty());
        QCOMPARE(set.due(QDateTime(d.addDays(1), QTime(0, 30, 1))), QList<int>{5});

        // A duration typed wrongly starts nothing.
        set.row(7).hours = "25";
        QVERIFY(!set.start(7, QDateTime(d, QTime(8, 0))));
        QVERIFY(!set.row(7).active);
    }

    void timerFileRoundTrip() {
        TestEnvironment env;
        const QString path = env.scratch("t") + "/Remember.ini";
        QFile::copy(TestEnvironment::sourceDir() + "/data/Q7/Remember.ini", path);
        QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);

        ReminderTimerSet set;
        set.load(path);
        const QDateTime now(QDate(2026, 3, 10), QTime(23, 30, 5));
        ReminderTimer &r = set.row(14);
        r.name = QString::fromUtf8("Чай");
        r.hours = "1";
        r.minutes = "05";
        r.message = "Tea is ready\nnow";
        r.sound = "/tmp/bell=1.wav";
        QVERIFY(set.start(14, now));
        set.row(3).name = "idle row"; // not running: nothing of it is kept
        QVERIFY(set.save(path));

        const IniFile ini(path);
        QCOMPARE(ini.readString("14", "Var"), "1");
        QCOMPARE(ini.readString("14", "Etime"), "11.03.2026 00:35:05");
        QCOMPARE(ini.readString("3", "Variant"), QString());
        QCOMPARE(ini.readString("3", "Var"), "0");

        ReminderTimerSet again;
        again.load(path);
        const ReminderTimer &back = again.row(14);
        QVERIFY(back.active);
        QCOMPARE(back.name, r.name);
        QCOMPARE(back.begin, r.begin);
        QCOMPARE(back.end, r.end);
        QCOMPARE(back.hours, "1");
        QCOMPARE(back.minutes, "05");
        QCOMPARE(back.message, "Tea is ready now"); // one line in the file
        QCOMPARE(back.sound, r.sound);
        QVERIFY(!again.row(3).active);
        QVERIFY(again.row(3).name.isEmpty());
    }

    void savedTimerFileThatReadsAsUtf8IsKept() {
        // A comment of valid UTF-8 beside the one byte that was not: once the save has written
        // that value anew, the whole file is valid UTF-8 and must still load as this program's.
        TestEnvironment env;
        const QString path = env.scratch("u") + "/Remember.ini";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[0]\r\nVar=1\r\nBtime=01.06.2024 11:30:00\r\nEtime=01.06.2024 11:45:00\r\n"
                   "Variant=Tea\r\nHour=\xc0\r\n; \xd0\xb8\r\n");
        file.close();
        ReminderTimerSet set;
        QVERIFY(set.load(path).isEmpty());
        QVERIFY(set.row(0).active);
        QVERIFY(set.save(path));
        ReminderTimerSet again;
        QVERIFY(again.load(path).isEmpty());
        QVERIFY(again.row(0).active);
        QCOMPARE(again.row(0).end, set.row(0).end);
        QCOMPARE(again.row(0).name, QStringLiteral("Tea"));
    }

    void timerFileFromSeedAndDamage() {
        TestEnvironment env;
        // The shipped seed: fifteen idle rows.
        ReminderTimerSet seed;
        seed.load(TestEnvironment::sourceDir() + "/data/Q7/Remember.ini");
        for (int i = 0; i < ReminderTimerSet::Count; ++i) {
            QVERIFY(!seed.row(i).active);
            QCOMPARE(seed.row(i).hours, "00");
        }
        // Rows marked running without readable times, or with a broken duration, stay safe.
        const QString path = env.scratch("d") + "/Remember.ini";
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[0]\r\nVar=1\r\nBtime=yesterday\r\nEtime=\r\n"
                "[1]\r\nVar=1\r\nVariant=Tea\r\nBtime=10.03.2026 09:00:00\r\nEtime=10.03.2026 "
                "09:30:00\r\n"
                "Hour=99\r\nMinute=30\r\n"
                "[2]\r\nVar=0\r\nVariant=Old\r\nBtime=10.03.2026 09:00:00\r\nEtime=10.03.2026 "
                "09:30:00\r\n");
        f.close();
        ReminderTimerSet set;
        set.load(path);
        QVERIFY(!set.row(0).active);
        QVERIFY(set.row(1).active);
        QCOMPARE(set.row(1).name, "Tea");
        QCOMPARE(set.row(1).hours, "00");
        QCOMPARE(set.row(1).minutes, "30");
        QVERIFY(!set.row(2).active);
        // A count-down that ended while the program was closed fires at the next start.
        QCOMPARE(set.due(QDateTime(QDate(2026, 3, 11), QTime(8, 0))), QList<int>{1});
    }

    void beepIsAThousandHertzForASecond() {
        const QByteArray pcm = BeepTone::pcm();
        QCOMPARE(pcm.size(), BeepTone::SampleRate * 2);
        // Count sign changes: a 1000 Hz sine crosses zero about 2000 times a second.
        const auto *data = reinterpret_cast<const uchar *>(pcm.constData());
        int crossings = 0;
        int peak = 0;
        qint16 previous = 0;
        for (int i = 0; i < pcm.size() / 2; ++i) {
            const qint16 v = qFromLittleEndian<qint16>(data + 2 * i);
            if ((previous < 0 && v >= 0) || (previous >= 0 && v < 0))
                ++crossings;
            previous = v;
            peak = qMax(peak, qAbs(int(v)));
        }
        QVERIFY2(qAbs(crossings - 2000) <= 4, qPrintable(QString::number(crossings)));
        QVERIFY(peak > 10000 && peak < 32767);
        // It starts and ends quietly.
        QVERIFY(qAbs(qFromLittleEndian<qint16>(data)) < 100);
        QVERIFY(qAbs(qFromLittleEndian<qint16>(data + pcm.size() - 2)) < 1000);
        QVERIFY(BeepTone::pcm(1000, 0).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestScheduleRules)
#include "tst_schedule_rules.moc"
