// The start-password dialog as the practitioner meets it: a wrong entry is told and the
// dialog stays, the right one lets the program start, any other way out refuses.
#include "app/DataFolderSetup.h"
#include "app/PasswordForm.h"
#include "app/StartPassword.h"
#include "ChildWidget.h"
#include "DialogRecorder.h"
#include "localization/LanguageTexts.h"
#include "localization/Localization.h"
#include "Options.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

void writePassword(const QString &val, const QString &ask,
                   const QString &language = QStringLiteral("English"))
{
    QVERIFY(setOption(QStringLiteral("password"), QStringLiteral("val"), val));
    QVERIFY(setOption(QStringLiteral("password"), QStringLiteral("do"), ask));
    QVERIFY(setOption(QStringLiteral("language"), QStringLiteral("value"), language));
}

PasswordForm *shownForm()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("TPasswordForm") && w->isVisible())
            return qobject_cast<PasswordForm *>(w);
    }
    return nullptr;
}

// Runs askAtStart while `drive` plays the user on the modal dialog. `seen` tells whether the
// dialog appeared at all.
bool askWith(std::function<void(PasswordForm *)> drive, bool *seen)
{
    *seen = false;
    // Local timers: when no dialog comes, they die unfired with this function.
    QTimer driver;
    driver.setSingleShot(true);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        if (PasswordForm *form = shownForm()) {
            *seen = true;
            drive(form);
        }
    });
    driver.start(0);
    // Never let a failed drive hang the test run.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (PasswordForm *form = shownForm())
            form->done(QDialog::Rejected);
    });
    guard.start(20000);
    return PasswordForm::askAtStart(nullptr);
}

// Types over what the field holds: a wrong entry is left selected, so the next one replaces it.
void typeAndPress(PasswordForm *form, const QString &text, Qt::Key key = Qt::Key_Return)
{
    QTest::keyClicks(form->passwordEdit(), text);
    QTest::keyClick(form->passwordEdit(), key);
}

} // namespace

class TestPasswordForm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void waysOutWithoutThePasswordRefuse();
    void askAtStart_data();
    void askAtStart();
    void languageOfTheSettingsBeforeItIsApplied();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

void TestPasswordForm::init()
{
    m_env = std::make_unique<TestEnvironment>();
    DataFolderSetup::run();
}

void TestPasswordForm::cleanup()
{
    m_env.reset();
}

void TestPasswordForm::waysOutWithoutThePasswordRefuse()
{
    DialogRecorder dialogs;
    const std::function<void(PasswordForm &)> ways[] = {
        [](PasswordForm &form) { QTest::keyClick(form.passwordEdit(), Qt::Key_Escape); },
        [](PasswordForm &form) {
            QTest::mouseClick(child<QPushButton>(&form, "ExitBtn"), Qt::LeftButton);
        },
        [](PasswordForm &form) { form.close(); }};
    for (const auto &leave : ways) {
        PasswordForm form(StartPassword(StartPassword::valueFor(QStringLiteral("secret")), true));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        // Even with the right text typed but not accepted, leaving refuses.
        QTest::keyClicks(form.passwordEdit(), QStringLiteral("secret"));
        leave(form);
        QVERIFY(!form.isVisible());
        QCOMPARE(form.result(), int(QDialog::Rejected));
    }
    QVERIFY(dialogs.requests().isEmpty());
}

void TestPasswordForm::askAtStart_data()
{
    QTest::addColumn<QString>("val");
    QTest::addColumn<bool>("ask");
    QTest::addColumn<QStringList>("entries"); // each typed and Return; "<escape>" gives up
    QTest::addColumn<bool>("starts");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<int>("told"); // "IncorrectPassword" messages
    const QString hash = StartPassword::valueFor(QStringLiteral("secret"));
    const QString legacy = QStringLiteral("oldsecret");
    const QStringList givenUp{"guess", "<escape>"};
    QTest::newRow("no password") << QString() << true << QStringList() << true << false << 0;
    QTest::newRow("hash, right") << hash << true << QStringList{"secret"} << true << true << 0;
    QTest::newRow("wrong, told, given up") << hash << true << givenUp << false << true << 1;
    QTest::newRow("wrong, then right over it")
        << hash << true << QStringList{"guess", "secret"} << true << true << 1;
    QTest::newRow("empty is wrong too")
        << hash << true << QStringList{"", "<escape>"} << false << true << 1;
    QTest::newRow("legacy plain text")
        << legacy << true << QStringList{legacy} << true << true << 0;
    QTest::newRow("legacy plain text, wrong") << legacy << true << givenUp << false << true << 1;
    QTest::newRow("legacy, not asked") << legacy << false << QStringList() << true << false << 0;
}

void TestPasswordForm::askAtStart()
{
    QFETCH(QString, val);
    QFETCH(bool, ask);
    QFETCH(QStringList, entries);
    QFETCH(int, told);
    QFETCH(bool, asked);
    writePassword(val, ask ? QStringLiteral("1") : QStringLiteral("0"));
    DialogRecorder dialogs;
    bool seen = false;
    const bool started = askWith(
        [&entries](PasswordForm *form) {
            if (entries.isEmpty())
                form->done(QDialog::Rejected);
            for (const QString &entry : entries) {
                if (entry == QLatin1String("<escape>"))
                    typeAndPress(form, QString(), Qt::Key_Escape);
                else
                    typeAndPress(form, entry);
            }
        },
        &seen);
    QTEST(started, "starts");
    QCOMPARE(seen, asked);
    QCOMPARE(dialogs.requests().size(), told);
    for (const Dialogs::Request &r : dialogs.requests())
        QCOMPARE(r.text, Localization::Translate(QStringLiteral("IncorrectPassword")));
    // A start that is allowed replaces a plain-text password by its hash, which still opens;
    // a refused start and a hashed password leave the file as it was.
    const QString kept = option(QStringLiteral("password"), QStringLiteral("val"));
    if (started && !val.isEmpty() && !StartPassword::isHash(val)) {
        QVERIFY(StartPassword::isHash(kept));
        QVERIFY(StartPassword(kept, true).matches(val));
    } else {
        QCOMPARE(kept, val);
    }
}

void TestPasswordForm::languageOfTheSettingsBeforeItIsApplied()
{
    // At start-up the dialog comes before the interface language is applied; a Russian user
    // still gets Russian buttons. The entry is hidden, and blanks around it do not count.
    const QString russianAccept =
        LanguageTexts::load(QStringLiteral("Russian")).text(QStringLiteral("Accept"));
    QVERIFY(!russianAccept.isEmpty());
    QVERIFY(russianAccept != QLatin1String("Accept"));
    writePassword(StartPassword::valueFor(QStringLiteral("secret")), QStringLiteral("1"),
                  QStringLiteral("Russian"));
    DialogRecorder dialogs;
    QString shown;
    bool seen = false;
    QVERIFY(askWith(
        [&shown](PasswordForm *form) {
            QCOMPARE(form->passwordEdit()->echoMode(), QLineEdit::Password);
            shown = child<QPushButton>(form, "AcceptBtn")->text();
            QTest::keyClicks(form->passwordEdit(), QStringLiteral(" secret "));
            QTest::mouseClick(child<QPushButton>(form, "AcceptBtn"), Qt::LeftButton);
        },
        &seen));
    QVERIFY(seen);
    QCOMPARE(shown, russianAccept);
}

QTEST_MAIN(TestPasswordForm)
#include "tst_password_form.moc"
