// The schedule page driven as a practitioner would: an appointment stored after the question,
// refused with a clear message when it cannot be, picked to be changed, deleted after the
// question; the client found by part of a name; today's reminders fired through the page; names
// and notes shown as typed; the reminder timers opened over the window.
#include "common/Dialogs.h"
#include "localization/LanguageApplier.h"
#include "localization/LanguageTexts.h"
#include "records/ClientsModel.h"
#include "schedule/AppointmentBook.h"
#include "schedule/AppointmentReminders.h"
#include "schedule/PlanFrame.h"
#include "schedule/PlanPanel.h"
#include "schedule/ReminderForm.h"
#include "schedule/ReminderPlayerWindow.h"
#include "ScheduleTestSupport.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTextDocument>
#include <QTimeEdit>
#include <QToolButton>
#include <QtTest>

#include <functional>

using namespace ScheduleTestSupport;

namespace {

const QDate kToday(2026, 3, 10);

struct Page
{
    Profile profile;
    FakeSound *sound = new FakeSound;
    ReminderForm form{nullptr, std::unique_ptr<SoundOutput>(sound)};
    std::unique_ptr<PlanPanel> page;
    QString anna;
    QString boris;
    QString marianna;
    Page()
    {
        Clock::setNow(QDateTime(kToday, QTime(8, 0)));
        anna = profile.addClient(QStringLiteral("Anna"), QString::fromUtf8("Кострова"));
        boris = profile.addClient(QStringLiteral("Boris"), QStringLiteral("Lind"));
        marianna = profile.addClient(QStringLiteral("Marianna"), QStringLiteral("Lindqvist"));
        page = std::make_unique<PlanPanel>(&profile.data, &profile.session, &form);
        page->resize(1020, 536);
        page->show();
        page->enter();
    }
    template <typename T> T *get(const char *name) { return child<T>(page.get(), name); }
    QList<PlanFrame *> frames()
    {
        QList<PlanFrame *> shown;
        for (PlanFrame *f : page->findChildren<PlanFrame *>()) {
            if (!f->isHidden())
                shown.append(f);
        }
        return shown;
    }
    QStringList frameTexts()
    {
        QStringList list;
        for (PlanFrame *f : frames())
            list.append(child<QLabel>(f, "TimeLabel")->text() + QLatin1Char(' ')
                        + child<QLabel>(f, "NameLabel")->text());
        return list;
    }
    void note(const QString &text) { get<QPlainTextEdit>("NotesMemo")->setPlainText(text); }
    void fill(QTime from, QTime to, const QString &text = QString())
    {
        get<QTimeEdit>("FromTime")->setTime(from);
        get<QTimeEdit>("ToTime")->setTime(to);
        note(text);
    }
    void clickSave() { QTest::mouseClick(get<QPushButton>("SaveBtn"), Qt::LeftButton); }
    // Today's appointment in the base; a text makes it remind with that message, `more` sets
    // the rest.
    Appointment stored(const QString &client, QTime begin, QTime end, const QString &text = {},
                       const std::function<void(Appointment &)> &more = {})
    {
        Appointment a;
        a.clientId = client;
        a.day = kToday;
        a.begin = begin;
        a.end = end;
        if (!text.isEmpty()) {
            a.remind = true;
            a.message = true;
            a.text = text;
        }
        if (more)
            more(a);
        QTest::qVerify(AppointmentBook(&profile.data).store(a).ok(), "store", "", __FILE__,
                       __LINE__);
        return a;
    }
};

} // namespace

class TestPlanPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { LanguageApplier::instance().apply(LanguageTexts()); }
    void storesAfterTheQuestion();
    void refusals();
    void reminderWays();
    void changeAndDelete();
    void quickFind_data();
    void quickFind();
    void todaysRemindersFireThroughThePage();
    void dataTextsShowAsTyped();
    void reminderTimersOpenOverTheWindow();
};

void TestPlanPanel::storesAfterTheQuestion()
{
    Page t;
    Answers answers;
    QCOMPARE(t.get<QDateEdit>("NotesDateEdit")->date(), kToday);
    QCOMPARE(t.page->scheduleDate(), kToday);
    t.profile.session.setCurrentClient(t.anna); // the grid follows the current client
    QCOMPARE(t.get<QTableView>("ClientsGrid")->currentIndex().row(), 0);
    t.fill(QTime(9, 0), QTime(9, 30), QStringLiteral("first visit"));
    QTest::mouseClick(t.get<QCheckBox>("Remember"), Qt::LeftButton);
    answers.messageText = QStringLiteral("Anna at nine");
    QTest::mouseClick(t.get<QCheckBox>("message"), Qt::LeftButton);
    QVERIFY(t.get<QCheckBox>("message")->isChecked());
    QCOMPARE(t.get<QLabel>("MessageTextLabel")->toolTip(), QStringLiteral("Anna at nine"));

    // "No" to the question stores nothing. The question has Yes for Enter: the user has just
    // asked to add.
    answers.answer = QStringLiteral("no");
    t.clickSave();
    QCOMPARE(answers.texts(Dialogs::Kind::QuestionYes),
             QStringList{QStringLiteral("Do you want to add this appointment?")});
    QVERIFY(t.frames().isEmpty());

    // Stored on "yes", said beside the button rather than in a second box.
    answers.answer = QStringLiteral("yes");
    answers.asked.clear();
    t.clickSave();
    QVERIFY(answers.texts(Dialogs::Kind::Message).isEmpty());
    QVERIFY(t.get<QLabel>("SavedNote")->isVisible());
    QCOMPARE(t.get<QLabel>("SavedNote")->text(), QStringLiteral("The schedule has been saved."));
    QCOMPARE(t.frameTexts(), QStringList{QString::fromUtf8("09:00-09:30 Anna Кострова")});
    // Its reminder (10 min before, today) is among today's reminders at once.
    const QList<TodayReminder> &today = t.page->reminders()->entries();
    QCOMPARE(today.size(), 1);
    QCOMPARE(today.first().moment, QDateTime(kToday, QTime(8, 50)));
    QCOMPARE(today.first().text, QStringLiteral("Anna at nine"));

    // A day with nothing says so; the list follows the schedule date.
    QTest::mouseClick(t.get<QToolButton>("NextDayButton"), Qt::LeftButton);
    QCOMPARE(t.page->scheduleDate(), kToday.addDays(1));
    QVERIFY(t.frames().isEmpty());
    QVERIFY(t.get<QLabel>("EmptyDayLabel")->isVisible());
    QTest::mouseClick(t.get<QToolButton>("PreviousDayButton"), Qt::LeftButton);
    QCOMPARE(t.frames().size(), 1);
    QVERIFY(!t.get<QLabel>("EmptyDayLabel")->isVisible());
    // Choosing another day for the appointment shows that day's list.
    t.get<QDateEdit>("NotesDateEdit")->setDate(kToday.addDays(3));
    QCOMPARE(t.page->scheduleDate(), kToday.addDays(3));
    QVERIFY(t.frames().isEmpty());
}

// What cannot be stored is refused with its reason, before any question, and the editor keeps
// what was typed.
void TestPlanPanel::refusals()
{
    const QString comment = QStringLiteral("The field \"Comment\" ");
    const std::pair<std::function<void(Page &)>, QString> cases[] = {
        {[](Page &t) { t.get<QTimeEdit>("ToTime")->setTime(QTime(9, 59)); },
         QStringLiteral("The start time is later than the end time.")},
        {[](Page &t) { t.get<QTimeEdit>("FromTime")->setTime(QTime(9, 0)); },
         QStringLiteral("This time is already taken by another appointment.")},
        {[](Page &t) { t.get<QCheckBox>("Remember")->setChecked(true); },
         QStringLiteral("Choose how to remind: sound, message or both.")},
        {[](Page &t) { t.get<QTableView>("ClientsGrid")->selectionModel()->clearSelection(); },
         QStringLiteral("Choose the client of the appointment in the list.")},
        {[](Page &t) { t.note(QString(Appointment::MaxComment + 1, QLatin1Char('n'))); },
         comment
             + QStringLiteral("is too long: at most %1 characters.").arg(Appointment::MaxComment)},
        {[](Page &t) { t.note(QString::fromUtf8("\xF0\x9F\x98\x80")); },
         comment + QStringLiteral("holds characters the base cannot store.")},
    };
    for (const auto &[change, message] : cases) {
        Page t;
        t.stored(t.boris, QTime(9, 0), QTime(9, 20));
        t.page->enter();
        Answers answers;
        t.profile.session.setCurrentClient(t.anna);
        t.fill(QTime(10, 0), QTime(10, 30), QStringLiteral("note"));
        change(t);
        const QString note = t.get<QPlainTextEdit>("NotesMemo")->toPlainText();

        t.clickSave();
        QCOMPARE(answers.texts(Dialogs::Kind::Message), QStringList{message});
        // Refused before any question: no "yes" is asked for what cannot be stored.
        QVERIFY(answers.texts(Dialogs::Kind::QuestionYes).isEmpty());
        QCOMPARE(t.frameTexts(), QStringList{QStringLiteral("09:00-09:20 Boris Lind")});
        QCOMPARE(AppointmentBook(&t.profile.data).day(kToday).size(), 1);
        QCOMPARE(t.get<QPlainTextEdit>("NotesMemo")->toPlainText(), note); // the editor keeps it
    }
}

void TestPlanPanel::reminderWays()
{
    Page t;
    Answers answers;
    // A time field takes typing as soon as it is entered, wherever the click landed.
    auto *to = t.get<QTimeEdit>("ToTime");
    t.page->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(t.page.get()));
    QTest::mouseClick(to, Qt::LeftButton, {}, QPoint(6, to->height() / 2));
    QTRY_VERIFY(to->hasFocus() && to->findChild<QLineEdit *>()->hasSelectedText());
    QTest::keyClicks(to, QStringLiteral("1145"));
    QCOMPARE(to->time(), QTime(11, 45));
    // Clicked again on the minutes, the minutes are typed over.
    const int minutesAt = to->fontMetrics().horizontalAdvance(QStringLiteral("11:4")) + 4;
    QTest::mouseClick(to, Qt::LeftButton, {}, QPoint(minutesAt, to->height() / 2));
    QTRY_COMPARE(to->findChild<QLineEdit *>()->selectedText(), QStringLiteral("45"));
    QTest::keyClicks(to, QStringLiteral("05"));
    QCOMPARE(to->time(), QTime(11, 5));

    auto *remember = t.get<QCheckBox>("Remember");
    auto *sound = t.get<QCheckBox>("Sound");
    auto *message = t.get<QCheckBox>("message");
    QVERIFY(!sound->isEnabled() && !message->isEnabled());
    remember->setChecked(true);
    QVERIFY(sound->isEnabled() && message->isEnabled());

    // A cancelled file dialog or an empty message leaves the way unchecked.
    QTest::mouseClick(sound, Qt::LeftButton);
    QVERIFY(!answers.asked.isEmpty());
    QCOMPARE(answers.asked.last().kind, Dialogs::Kind::OpenFile);
    QVERIFY(!sound->isChecked());
    QTest::mouseClick(message, Qt::LeftButton);
    QVERIFY(!message->isChecked());

    answers.file = t.profile.soundFile();
    answers.messageText = QStringLiteral("Bring the results");
    QTest::mouseClick(sound, Qt::LeftButton);
    QTest::mouseClick(message, Qt::LeftButton);
    QVERIFY(sound->isChecked() && message->isChecked());
    QCOMPARE(t.get<QLabel>("SoundFileLabel")->text(), QStringLiteral("bell.wav"));

    // Unchecking the reminder unchecks both ways and forgets them.
    remember->setChecked(false);
    QVERIFY(!sound->isChecked() && !message->isChecked());
    QVERIFY(t.get<QLabel>("SoundFileLabel")->text().isEmpty());
    QVERIFY(t.get<QLabel>("MessageTextLabel")->toolTip().isEmpty());
}

void TestPlanPanel::changeAndDelete()
{
    Page t;
    t.stored(t.anna, QTime(9, 0), QTime(9, 30), QStringLiteral("Anna soon"));
    t.stored(t.boris, QTime(11, 0), QTime(12, 0));
    t.page->enter();
    Answers answers;
    QCOMPARE(t.frameTexts(), (QStringList{QString::fromUtf8("09:00-09:30 Anna Кострова"),
                                          QStringLiteral("11:00-12:00 Boris Lind")}));
    t.profile.session.setCurrentClient(t.boris);

    // A click on the name loads the appointment for changing.
    QTest::mouseClick(child<QLabel>(t.frames().first(), "NameLabel"), Qt::LeftButton);
    QVERIFY(t.page->isEditingAppointment());
    QCOMPARE(t.get<QPushButton>("SaveBtn")->text(), QStringLiteral("Save"));
    QVERIFY(t.get<QPushButton>("CancelEditBtn")->isVisible());
    QCOMPARE(t.profile.session.currentClient(), t.anna);
    QVERIFY(t.get<QCheckBox>("message")->isChecked());
    QCOMPARE(t.get<QLabel>("MessageTextLabel")->toolTip(), QStringLiteral("Anna soon"));

    t.get<QTimeEdit>("ToTime")->setTime(QTime(9, 45));
    t.clickSave();
    QCOMPARE(answers.texts(Dialogs::Kind::QuestionYes),
             QStringList{QStringLiteral("Do you want to save the changes?")});
    QVERIFY(!t.page->isEditingAppointment());
    QCOMPARE(t.get<QPushButton>("SaveBtn")->text(), QStringLiteral("OK"));
    QCOMPARE(t.frameTexts().first(), QString::fromUtf8("09:00-09:45 Anna Кострова"));
    QCOMPARE(AppointmentBook(&t.profile.data).day(kToday).size(), 2);

    // Moving it onto another appointment's start is refused and it stays as it was.
    QTest::mouseClick(child<QLabel>(t.frames().first(), "NameLabel"), Qt::LeftButton);
    t.get<QTimeEdit>("FromTime")->setTime(QTime(11, 0));
    t.get<QTimeEdit>("ToTime")->setTime(QTime(11, 30));
    answers.asked.clear();
    t.clickSave();
    QCOMPARE(answers.texts(Dialogs::Kind::Message),
             QStringList{QStringLiteral("This time is already taken by another appointment.")});
    QVERIFY(t.page->isEditingAppointment());
    QTest::mouseClick(t.get<QPushButton>("CancelEditBtn"), Qt::LeftButton);
    QVERIFY(!t.page->isEditingAppointment());
    QCOMPARE(t.frameTexts().first(), QString::fromUtf8("09:00-09:45 Anna Кострова"));

    // A double click on a name asks for that client's card.
    QSignalSpy open(t.page.get(), &PlanPanel::openClientRequested);
    QTest::mouseDClick(child<QLabel>(t.frames().last(), "NameLabel"), Qt::LeftButton);
    QCOMPARE(open.size(), 1);
    QCOMPARE(open.first().first().toString(), t.boris);

    // The close image deletes only after the question.
    answers.asked.clear();
    answers.answer = QStringLiteral("no");
    QTest::mouseClick(child<QToolButton>(t.frames().last(), "CloseImage"), Qt::LeftButton);
    QVERIFY(answers.texts(Dialogs::Kind::Question)
                .first()
                .startsWith(QStringLiteral("Delete the selected record?")));
    QCOMPARE(t.frames().size(), 2);
    answers.answer = QStringLiteral("yes");
    QTest::mouseClick(child<QToolButton>(t.frames().last(), "CloseImage"), Qt::LeftButton);
    QCOMPARE(t.frameTexts(), QStringList{QString::fromUtf8("09:00-09:45 Anna Кострова")});
    QCOMPARE(AppointmentBook(&t.profile.data).day(kToday).size(), 1);
}

void TestPlanPanel::quickFind_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("found"); // names after each press
    QTest::newRow("part of a name, again and again")
        << "ANN" << QStringList{"Anna", "Marianna", "Anna"};
    QTest::newRow("Cyrillic surname, other case")
        << QString::fromUtf8("КОСТ") << QStringList{"Anna"};
    QTest::newRow("no match keeps the client") << "zz" << QStringList{"Boris"};
}

void TestPlanPanel::quickFind()
{
    QFETCH(QString, text);
    QFETCH(QStringList, found);
    Page t;
    Answers answers;
    t.profile.session.setCurrentClient(t.boris);
    t.get<QLineEdit>("FoundEdit")->setText(text);
    for (const QString &name : found) {
        QTest::mouseClick(t.get<QPushButton>("FoundButton"), Qt::LeftButton);
        const int row = t.page->clientsModel()->rowOfCode(t.profile.session.currentClient());
        QCOMPARE(t.page->clientsModel()->entries().at(row).name, name);
        QCOMPARE(t.get<QTableView>("ClientsGrid")->currentIndex().row(), row);
    }
    const bool none = text == QLatin1String("zz");
    QCOMPARE(answers.texts(Dialogs::Kind::Message).size(), none ? 1 : 0);
}

void TestPlanPanel::todaysRemindersFireThroughThePage()
{
    Page t;
    Answers answers;
    Appointment withMessage =
        t.stored(t.anna, QTime(8, 30), QTime(9, 0), QStringLiteral("Call Anna"));
    const Appointment withSound =
        t.stored(t.boris, QTime(8, 45), QTime(9, 0), {}, [&](Appointment &a) {
            a.remind = true;
            a.lead = {5, LeadTime::Minutes};
            a.sound = true;
            a.melody = t.profile.soundFile();
        });

    AppointmentReminders *reminders = t.page->reminders();
    reminders->start();
    reminders->tick();
    QVERIFY(answers.asked.isEmpty());
    QVERIFY(t.sound->played.isEmpty());

    Clock::setNow(QDateTime(kToday, QTime(8, 36)));
    reminders->tick();
    QCOMPARE(answers.asked.size(), 1);
    QCOMPARE(answers.asked.first().caption, QStringLiteral("Time Out"));
    QCOMPARE(answers.asked.first().text, QStringLiteral("Call Anna"));
    QVERIFY(t.sound->played.isEmpty());

    Clock::setNow(QDateTime(kToday, QTime(8, 40, 1)));
    reminders->tick();
    QCOMPARE(t.sound->played, QStringList{withSound.melody});
    QVERIFY(t.form.playerWindow()->isVisible());
    t.sound->finishNow(); // the player window goes when the sound ends
    QVERIFY(!t.form.playerWindow()->isVisible());
    QCOMPARE(answers.asked.size(), 1);

    // Close-down writes the fired marks.
    reminders->saveMade();
    QVERIFY(AppointmentBook(&t.profile.data).find(withMessage.key())->made);
}

void TestPlanPanel::dataTextsShowAsTyped()
{
    // A name and a note that look like markup are shown as typed, in the list and its tooltip.
    Page t;
    const QString tagged =
        t.profile.addClient(QStringLiteral("<b>Anna</b>"), QStringLiteral("<i>Lee</i>"));
    t.stored(tagged, QTime(11, 0), QTime(11, 30), {}, [](Appointment &a) {
        a.comment = QStringLiteral("<font color=red>urgent</font> & soon");
    });
    t.page->setScheduleDate(kToday);
    QList<PlanFrame *> shown = t.frames();
    QCOMPARE(shown.size(), 1);
    auto *name = child<QLabel>(shown.first(), "NameLabel");
    auto *note = child<QLabel>(shown.first(), "NoteLabel");
    const QFontMetrics metrics(name->font());
    // Drawn as plain text the tags take room of their own; as markup they would vanish.
    QVERIFY(name->sizeHint().width() >= metrics.horizontalAdvance(QStringLiteral("<b>Anna</b>")));
    QVERIFY(note->sizeHint().width()
            >= QFontMetrics(note->font()).horizontalAdvance(QStringLiteral("<font color=red>")));
    QTextDocument tip;
    tip.setHtml(shown.first()->toolTip());
    QVERIFY2(tip.toPlainText().contains(QStringLiteral("<font color=red>urgent</font> & soon")),
             qPrintable(shown.first()->toolTip()));
}

void TestPlanPanel::reminderTimersOpenOverTheWindow()
{
    Page t;
    t.page->move(40, 30);
    QTest::mouseClick(t.get<QToolButton>("Reminder"), Qt::LeftButton);
    QVERIFY(t.form.isVisible());
    const QRect area = t.form.screen()->availableGeometry();
    QVERIFY(area.contains(t.form.frameGeometry()));
    QVERIFY(t.form.frameGeometry().contains(area.intersected(t.page->frameGeometry()).center()));
    t.form.hide();
}

QTEST_MAIN(TestPlanPanel)
#include "tst_plan_panel.moc"
