// The reminder timers window driven as a user would: a count-down started, kept in
// Remember.ini over a restart, refused when its duration is typed wrongly or its text cannot be
// kept, a damaged file set aside, and firing once with its sound (or a beep when the file is
// gone) and its message.
#include "common/Dialogs.h"
#include "common/IniFile.h"
#include "localization/LanguageApplier.h"
#include "localization/LanguageTexts.h"
#include "schedule/ReminderForm.h"
#include "schedule/ReminderPlayerWindow.h"
#include "schedule/ReminderTimerSet.h"
#include "ScheduleTestSupport.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace ScheduleTestSupport;

namespace {

const QDate kToday(2026, 3, 10);

struct Window
{
    FakeSound *sound = new FakeSound;
    std::unique_ptr<ReminderForm> form =
        std::make_unique<ReminderForm>(nullptr, std::unique_ptr<SoundOutput>(sound));
    Window() { form->show(); }
    template <typename T> T *get(const QString &name) { return child<T>(form.get(), name); }
    QLineEdit *edit(const char *name, int row)
    {
        return get<QLineEdit>(QLatin1String(name) + QString::number(row));
    }
    QCheckBox *box(const char *name, int row)
    {
        return get<QCheckBox>(QLatin1String(name) + QString::number(row));
    }
    void type(QLineEdit *edit, const QString &text)
    {
        edit->setText(text);
        Q_EMIT edit->editingFinished();
    }
};

} // namespace

class TestReminderForm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { LanguageApplier::instance().apply(LanguageTexts()); }
    void startedRowIsKeptOverARestart();
    void durationTypedWrongly_data();
    void durationTypedWrongly();
    void choosesWaysAndFiresOnceWithSoundAndMessage();
    void unstorableTextIsRefused();
    void damagedFileIsSetAside_data();
    void damagedFileIsSetAside();
};

void TestReminderForm::startedRowIsKeptOverARestart()
{
    Profile p;
    Answers answers;
    Clock::setNow(QDateTime(kToday, QTime(23, 30, 0)));
    QString path;
    {
        Window w;
        path = w.form->filePath();
        QVERIFY(path.startsWith(p.env.dataFolder()));
        QVERIFY(w.get<QTimer>(QStringLiteral("TimerReminder"))->isActive());
        // An idle row's start follows the clock.
        QCOMPARE(w.edit("Begin", 4)->text(), QStringLiteral("23:30:00"));
        Clock::setNow(QDateTime(kToday, QTime(23, 30, 7)));
        w.form->showCurrentTime();
        QCOMPARE(w.edit("Begin", 4)->text(), QStringLiteral("23:30:07"));

        w.edit("Name", 4)->setText(QStringLiteral("Moxa"));
        w.type(w.edit("h", 4), QStringLiteral("1"));
        QTest::mouseClick(w.box("CB", 4), Qt::LeftButton);
        QVERIFY(w.box("CB", 4)->isChecked());
        QCOMPARE(w.edit("End", 4)->text(), QStringLiteral("00:30:07")); // past midnight
        QVERIFY(w.edit("Name", 4)->isReadOnly());
        QVERIFY(w.edit("h", 4)->isReadOnly());
        // Started rows are in the file at once, not only at close-down.
        const IniFile ini(path);
        QCOMPARE(ini.readString(QStringLiteral("3"), QStringLiteral("Var")), QStringLiteral("1"));
        QCOMPARE(ini.readString(QStringLiteral("3"), QStringLiteral("Variant")),
                 QStringLiteral("Moxa"));
    }
    {
        Window w;
        QVERIFY(w.box("CB", 4)->isChecked());
        QCOMPARE(w.edit("Name", 4)->text(), QStringLiteral("Moxa"));
        QCOMPARE(w.edit("Begin", 4)->text(), QStringLiteral("23:30:07"));
        QCOMPARE(w.edit("End", 4)->text(), QStringLiteral("00:30:07"));
        QCOMPARE(w.edit("h", 4)->text(), QStringLiteral("1"));
        // Stopping it by hand writes the row as idle.
        QTest::mouseClick(w.box("CB", 4), Qt::LeftButton);
        QVERIFY(!w.edit("Name", 4)->isReadOnly());
        QVERIFY(w.edit("End", 4)->text().isEmpty());
        QCOMPARE(IniFile(path).readString(QStringLiteral("3"), QStringLiteral("Var")),
                 QStringLiteral("0"));
    }
    QVERIFY(answers.asked.isEmpty());
}

void TestReminderForm::unstorableTextIsRefused()
{
    Profile p;
    Answers answers;
    Clock::setNow(QDateTime(kToday, QTime(9, 0, 0)));
    Window w;
    const QString path = w.form->filePath();
    // A name the file cannot hold is refused before the timer runs; nothing is lost later.
    w.edit("Name", 2)->setText(QStringLiteral("Tea \u2615 break"));
    w.type(w.edit("min", 2), QStringLiteral("5"));
    QTest::mouseClick(w.box("CB", 2), Qt::LeftButton);
    QVERIFY(!w.box("CB", 2)->isChecked());
    QCOMPARE(answers.asked.size(), 1);
    QVERIFY(answers.asked.first().text.contains(QStringLiteral("cannot store")));
    // Corrected, it runs and is written.
    answers.asked.clear();
    w.edit("Name", 2)->setText(QStringLiteral("Tea break"));
    QTest::mouseClick(w.box("CB", 2), Qt::LeftButton);
    QVERIFY(w.box("CB", 2)->isChecked());
    QVERIFY(answers.asked.isEmpty());
    QCOMPARE(IniFile(path).readString(QStringLiteral("1"), QStringLiteral("Variant")),
             QStringLiteral("Tea break"));

    // A write that fails is said, not passed over.
    QFile::remove(path);
    QVERIFY(QDir().mkpath(path)); // a folder where the file should be
    QTest::mouseClick(w.box("CB", 2), Qt::LeftButton);
    QCOMPARE(answers.asked.size(), 1);
    QVERIFY(answers.asked.first().text.contains(QStringLiteral("could not be saved")));
    QDir(path).removeRecursively();
}

void TestReminderForm::damagedFileIsSetAside_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("folder");
    QTest::newRow("UTF-8 text") << QByteArray(
        "\xEF\xBB\xBF[3]\r\nVar=1\r\nVariant=\xd0\x9c\xd0\xbe\xd0\xba\xd1\x81\xd0\xb0\r\n")
                                << false;
    QTest::newRow("random bytes") << QByteArray("\x00\x98\xff\x10garbage\x00", 12) << false;
    QTest::newRow("a folder") << QByteArray() << true;
}

void TestReminderForm::damagedFileIsSetAside()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, folder);
    Profile p;
    Answers answers;
    Clock::setNow(QDateTime(kToday, QTime(9, 0, 0)));
    const QString path = ReminderTimerSet::filePath();
    if (folder) {
        QFile::remove(path);
        QVERIFY(QDir().mkpath(path));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    Window w;
    // Said once (over the window, once it is up), the damaged file kept under a new name, and
    // the timers work again.
    QTRY_COMPARE(answers.asked.size(), 1);
    const QStringList aside =
        QDir(QFileInfo(path).absolutePath())
            .entryList({QFileInfo(path).fileName() + QStringLiteral(".damaged-*")},
                       QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(aside.size(), 1);
    QVERIFY(answers.asked.first().text.contains(aside.first()));
    w.edit("Name", 1)->setText(QStringLiteral("Moxa"));
    w.type(w.edit("min", 1), QStringLiteral("5"));
    QTest::mouseClick(w.box("CB", 1), Qt::LeftButton);
    QVERIFY(w.box("CB", 1)->isChecked());
    QCOMPARE(answers.asked.size(), 1);
    QCOMPARE(IniFile(path).readString(QStringLiteral("0"), QStringLiteral("Variant")),
             QStringLiteral("Moxa"));
}

void TestReminderForm::durationTypedWrongly_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("refused");
    QTest::newRow("24 hours") << "h"
                              << "24" << true;
    QTest::newRow("60 minutes") << "min"
                                << "60" << true;
    QTest::newRow("59 minutes") << "min"
                                << "59" << false;
}

void TestReminderForm::durationTypedWrongly()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(bool, refused);
    Profile p;
    Answers answers;
    Window w;
    QLineEdit *edit = w.get<QLineEdit>(field + QStringLiteral("7"));
    w.type(edit, text);
    QCOMPARE(answers.asked.size(), refused ? 1 : 0);
    if (refused) {
        QCOMPARE(answers.asked.first().text,
                 QStringLiteral("Incorrect value. Hours must be 0 to 23, minutes 0 to 59."));
        QCOMPARE(edit->text(), QStringLiteral("00"));
    }
    // A wrong duration still in the field when the row is started starts nothing.
    answers.asked.clear();
    edit->setText(text);
    QTest::mouseClick(w.box("CB", 7), Qt::LeftButton);
    QCOMPARE(w.box("CB", 7)->isChecked(), !refused);
    QCOMPARE(answers.asked.size(), refused ? 1 : 0);
}

void TestReminderForm::choosesWaysAndFiresOnceWithSoundAndMessage()
{
    Profile p;
    Answers answers;
    Clock::setNow(QDateTime(kToday, QTime(9, 0, 0)));
    Window w;
    // An empty message or no file chosen leaves the box unchecked; unticked, the message goes.
    QTest::mouseClick(w.box("M", 3), Qt::LeftButton);
    QVERIFY(!w.box("M", 3)->isChecked());
    QTest::mouseClick(w.box("S", 3), Qt::LeftButton);
    QVERIFY(!w.box("S", 3)->isChecked());
    QVERIFY(!answers.asked.isEmpty());
    QCOMPARE(answers.asked.last().kind, Dialogs::Kind::OpenFile);
    answers.messageText = QStringLiteral("Tea");
    QTest::mouseClick(w.box("M", 3), Qt::LeftButton);
    QVERIFY(w.box("M", 3)->isChecked());
    QCOMPARE(w.form->timers().row(2).message, QStringLiteral("Tea"));
    QTest::mouseClick(w.box("M", 3), Qt::LeftButton);
    QVERIFY(w.form->timers().row(2).message.isEmpty());

    // Row 1: ten minutes, a sound that is there and a message.
    w.type(w.edit("min", 1), QStringLiteral("10"));
    answers.file = p.soundFile();
    answers.messageText = QStringLiteral("Take the needles out");
    QTest::mouseClick(w.box("S", 1), Qt::LeftButton);
    QTest::mouseClick(w.box("M", 1), Qt::LeftButton);
    QTest::mouseClick(w.box("CB", 1), Qt::LeftButton);
    // Row 2: the same end, a sound file that is gone.
    w.type(w.edit("min", 2), QStringLiteral("10"));
    answers.file = p.soundFile(QStringLiteral("gone.wav"));
    QTest::mouseClick(w.box("S", 2), Qt::LeftButton);
    QFile::remove(answers.file);
    QTest::mouseClick(w.box("CB", 2), Qt::LeftButton);
    answers.asked.clear();

    Clock::setNow(QDateTime(kToday, QTime(9, 10, 1)));
    w.form->fireDue();
    QCOMPARE(w.sound->played, QStringList{p.soundFile()});
    QVERIFY(w.form->playerWindow()->isVisible());
    QCOMPARE(w.sound->beeps, 1);
    QCOMPARE(answers.asked.size(), 1);
    QCOMPARE(answers.asked.first().caption, QStringLiteral("Time Out"));
    QCOMPARE(answers.asked.first().text, QStringLiteral("Take the needles out"));
    QVERIFY(!w.box("CB", 1)->isChecked());
    QVERIFY(!w.box("CB", 2)->isChecked());
    QCOMPARE(IniFile(w.form->filePath()).readString(QStringLiteral("0"), QStringLiteral("Var")),
             QStringLiteral("0"));

    // Once only: the form records the firing, so the next tick stays quiet.
    Clock::setNow(QDateTime(kToday, QTime(9, 10, 2)));
    w.form->fireDue();
    QCOMPARE(w.sound->played.size(), 1);
    QCOMPARE(answers.asked.size(), 1);

    // Stopping the player stops the sound; close-down stops the timers.
    QTest::mouseClick(
        child<QPushButton>(w.form->playerWindow(), QStringLiteral("PlayerStopButton")),
        Qt::LeftButton);
    QVERIFY(w.sound->stops > 0);
    QVERIFY(!w.form->playerWindow()->isVisible());
    w.form->finish();
    QVERIFY(!w.get<QTimer>(QStringLiteral("TimerReminder"))->isActive());
}

QTEST_MAIN(TestReminderForm)
#include "tst_reminder_form.moc"
