// The settings page as the practitioner uses it: the start password and its marks, a refused
// measuring order, the frequency lists of the diseases, the language choice, and the page with
// a much larger font.
#include "app/AppPaths.h"
#include "app/BackupStore.h"
#include "app/BaseFacts.h"
#include "app/DataFolderSetup.h"
#include "app/Gbak.h"
#include "app/InstallationImportButton.h"
#include "app/SettingsPage.h"
#include "app/StartPassword.h"
#include "ChildWidget.h"
#include "ClientTests.h"
#include "common/IniFile.h"
#include "DialogRecorder.h"
#include "localization/LanguageApplier.h"
#include "localization/LanguageTexts.h"
#include "localization/Localization.h"
#include "Options.h"
#include "records/ClientSync.h"
#include "records/DataModule.h"
#include "records/FreqDesRepository.h"
#include "SeedBase.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>

namespace {

bool shows(QWidget *page, const char *name)
{
    return !child<QWidget>(page, name)->isHidden();
}

QStringList texts(const DialogRecorder &dialogs)
{
    QStringList list;
    for (const Dialogs::Request &r : dialogs.requests())
        list.append(r.text);
    return list;
}

// A data folder and an open base of its own for each test.
using Fixture = ClientTests;

} // namespace

class TestSettingsPage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void emptyNewPasswordWithBothMarksWritesEmptyPassword();
    void passwordMarksFollowEachKey();
    void orderWithFiveTwiceIsRefusedRestIsSaved();
    void frequencyMustBeANumber();
    void choosingDiseaseStoresPreviousComment();
    void worksWithoutBase();
    void languageChoiceAndLook();
    void sharedBaseIsKeptInOptions();
    void importFromAnotherInstallation();
};

void TestSettingsPage::init()
{
    // Every test starts in the built-in English texts.
    LanguageApplier::instance().apply(LanguageTexts());
}

void TestSettingsPage::emptyNewPasswordWithBothMarksWritesEmptyPassword()
{
    Fixture f;
    IniFile ini(optionsFile());
    ini.removeKey(QStringLiteral("password"), QStringLiteral("val"));
    QVERIFY(ini.save());
    DialogRecorder dialogs;
    SettingsPage page(&f.data);

    QVERIFY(!child<QLineEdit>(&page, "OldPasswordEdit")->isEnabled());
    QVERIFY(shows(&page, "OldPasswordImage1") && !shows(&page, "OldPasswordImage2"));
    QVERIFY(shows(&page, "ConfirmImage1") && !shows(&page, "ConfirmImage2"));
    child<QCheckBox>(&page, "PasswordBox")->setChecked(true);
    QTest::mouseClick(child<QPushButton>(&page, "SaveSettings"), Qt::LeftButton);

    QVERIFY(IniFile(optionsFile()).hasKey(QStringLiteral("password"), QStringLiteral("val")));
    QCOMPARE(option(QStringLiteral("password"), QStringLiteral("val")), QString());
    QCOMPARE(option(QStringLiteral("password"), QStringLiteral("do")), QStringLiteral("1"));
    QVERIFY(!StartPassword::load(IniFile(optionsFile())).required());
    QCOMPARE(texts(dialogs),
             QStringList{Localization::Translate(QStringLiteral("SettingsChanged"))});
}

void TestSettingsPage::passwordMarksFollowEachKey()
{
    Fixture f;
    QVERIFY(setOption(QStringLiteral("password"), QStringLiteral("val"),
                      StartPassword::valueFor(QStringLiteral("ab1"))));
    DialogRecorder dialogs;
    SettingsPage page(&f.data);
    auto *old = child<QLineEdit>(&page, "OldPasswordEdit");
    auto *fresh = child<QLineEdit>(&page, "NewPasswordEdit");
    auto *confirm = child<QLineEdit>(&page, "ConfirmEdit");
    QVERIFY(old->isEnabled());
    // An empty field is neither right nor wrong.
    QVERIFY(!shows(&page, "OldPasswordImage1") && !shows(&page, "OldPasswordImage2"));

    const QList<std::pair<char, bool>> keys = {{'a', false}, {'b', false}, {'1', true}};
    for (const auto &[key, match] : keys) {
        QTest::keyClick(old, key);
        QTRY_COMPARE(shows(&page, "OldPasswordImage1"), match);
        QCOMPARE(shows(&page, "OldPasswordImage2"), !match);
    }
    QTest::keyClick(old, Qt::Key_Backspace);
    QVERIFY(shows(&page, "OldPasswordImage2"));

    // An unconfirmed new password is refused and said so; the stored one stays.
    QTest::keyClick(old, '1');
    QTest::keyClicks(fresh, QStringLiteral("new"));
    QTest::keyClicks(confirm, QStringLiteral("ne"));
    QVERIFY(shows(&page, "ConfirmImage2"));
    QTest::keyClick(confirm, 'w');
    QVERIFY(shows(&page, "ConfirmImage1"));
    // Changing the new password after confirming it takes the confirmation back.
    QTest::keyClick(fresh, 'x');
    QVERIFY(shows(&page, "ConfirmImage2"));
    page.save();
    QVERIFY(texts(dialogs).contains(Localization::Translate(QStringLiteral("IncorrectPassword"))));
    QVERIFY(StartPassword::load(IniFile(optionsFile())).matches(QStringLiteral("ab1")));

    QTest::keyClick(confirm, 'x');
    page.save();
    const StartPassword stored = StartPassword::load(IniFile(optionsFile()));
    QVERIFY(stored.matches(QStringLiteral("newx")));
    QVERIFY(!option(QStringLiteral("password"), QStringLiteral("val"))
                 .contains(QStringLiteral("newx")));
    // The edits start over for the next change, with no mark left saying "wrong".
    QVERIFY(old->text().isEmpty() && fresh->text().isEmpty() && confirm->text().isEmpty());
    QVERIFY(!shows(&page, "OldPasswordImage1") && !shows(&page, "OldPasswordImage2"));
}

void TestSettingsPage::orderWithFiveTwiceIsRefusedRestIsSaved()
{
    Fixture f;
    DialogRecorder dialogs;
    SettingsPage page(&f.data);
    auto *grid = child<QTableWidget>(&page, "MeridianNameGrid");
    QCOMPARE(grid->item(2, 3)->text(), QStringLiteral("5")); // [Order] 3, heart, left
    QCOMPARE(grid->item(3, 1)->text(), QStringLiteral("Lv"));

    grid->item(2, 4)->setText(QStringLiteral("5")); // heart, right: was 6
    grid->item(0, 2)->setText(QStringLiteral("Lungs"));
    child<QSpinBox>(&page, "MiddlePercent")->setValue(25);
    child<QCheckBox>(&page, "SoundSignalCheck")->setChecked(false);
    child<QLineEdit>(&page, "TestDopInfo")->setText(QStringLiteral("probe B"));
    QSignalSpy saved(&page, &SettingsPage::settingsSaved);
    QTest::mouseClick(child<QPushButton>(&page, "SaveSettings"), Qt::LeftButton);

    QCOMPARE(texts(dialogs),
             (QStringList{Localization::Translate(QStringLiteral("IncorrectOrder")),
                          Localization::Translate(QStringLiteral("SettingsChanged"))}));
    QVERIFY(!texts(dialogs).first().isEmpty());
    QCOMPARE(option(QStringLiteral("Order"), QStringLiteral("15")), QStringLiteral("6"));
    QCOMPARE(option(QStringLiteral("meridian"), QStringLiteral("1")), QStringLiteral("Lungs"));
    QCOMPARE(option(QStringLiteral("medium"), QStringLiteral("val")), QStringLiteral("25"));
    QCOMPARE(option(QStringLiteral("test"), QStringLiteral("sound")), QStringLiteral("0"));
    QCOMPARE(option(QStringLiteral("test"), QStringLiteral("info")), QStringLiteral("probe B"));
    QCOMPARE(saved.count(), 1);
    // The offending cell is shown to the user.
    QCOMPARE(grid->currentRow(), 2);
    QCOMPARE(grid->currentColumn(), 4);

    grid->item(2, 4)->setText(QStringLiteral("6"));
    grid->item(0, 3)->setText(QStringLiteral("2"));
    grid->item(0, 4)->setText(QStringLiteral("1"));
    dialogs.clear();
    page.save();
    QCOMPARE(texts(dialogs),
             QStringList{Localization::Translate(QStringLiteral("SettingsChanged"))});
    QCOMPARE(option(QStringLiteral("Order"), QStringLiteral("1")), QStringLiteral("2"));
    QCOMPARE(option(QStringLiteral("Order"), QStringLiteral("13")), QStringLiteral("1"));
}

void TestSettingsPage::frequencyMustBeANumber()
{
    Fixture f;
    DialogRecorder dialogs;
    SettingsPage page(&f.data);
    page.enter();
    auto *diseaseEdit = child<QLineEdit>(&page, "AddDeseaseEdit");
    auto *freqEdit = child<QLineEdit>(&page, "AddFreqEdit");
    auto *freqList = child<QListWidget>(&page, "FreqListBox");
    QTest::keyClicks(diseaseEdit, QStringLiteral("Gastritis"));
    QTest::mouseClick(child<QAbstractButton>(&page, "AddDeseaseBtn"), Qt::LeftButton);
    QCOMPARE(page.selectedDisease(), QStringLiteral("Gastritis"));
    QVERIFY(diseaseEdit->text().isEmpty());

    for (const QString &bad : {QStringLiteral("abc"), QStringLiteral("12..5"), QStringLiteral("-3"),
                               QStringLiteral("nan")}) {
        dialogs.clear();
        freqEdit->setText(bad);
        QTest::mouseClick(child<QAbstractButton>(&page, "AddFreqBtn"), Qt::LeftButton);
        QCOMPARE(dialogs.requests().size(), 1);
        QVERIFY(dialogs.requests().first().text.startsWith(
            LanguageApplier::instance().text(QStringLiteral("IncorRecord"))));
        QCOMPARE(freqList->count(), 0);
    }
    const FreqDesRepository repo(&f.data);
    QVERIFY(repo.frequencies(QStringLiteral("Gastritis")).isEmpty());

    dialogs.clear();
    for (const QString &good :
         {QStringLiteral("12,5"), QStringLiteral(" 7.83 "), QStringLiteral("10")}) {
        freqEdit->setText(good);
        QTest::keyClick(freqEdit, Qt::Key_Return);
    }
    QVERIFY(dialogs.requests().isEmpty());
    const QStringList expected = {QStringLiteral("12.5"), QStringLiteral("7.83"),
                                  QStringLiteral("10")};
    QCOMPARE(itemTexts(freqList), expected);
    QCOMPARE(repo.frequencies(QStringLiteral("Gastritis")), expected);

    freqList->setCurrentRow(1);
    QTest::mouseClick(child<QAbstractButton>(&page, "DeleteFreqBtn"), Qt::LeftButton);
    QCOMPARE(repo.frequencies(QStringLiteral("Gastritis")),
             (QStringList{QStringLiteral("12.5"), QStringLiteral("10")}));

    // A name that is there already is refused with its message.
    diseaseEdit->setText(QStringLiteral("gastritis"));
    QTest::mouseClick(child<QAbstractButton>(&page, "AddDeseaseBtn"), Qt::LeftButton);
    QCOMPARE(dialogs.requests().last().text,
             Localization::Translate(QStringLiteral("DeseaseAlreadyExists")));
    QCOMPARE(repo.diseases(), QStringList{QStringLiteral("Gastritis")});
}

void TestSettingsPage::choosingDiseaseStoresPreviousComment()
{
    Fixture f;
    FreqDesRepository repo(&f.data);
    QCOMPARE(repo.addDisease(QStringLiteral("Angina")), FreqDesRepository::AddResult::Added);
    QCOMPARE(repo.addDisease(QStringLiteral("Bronchitis")), FreqDesRepository::AddResult::Added);
    QVERIFY(repo.setComment(QStringLiteral("Bronchitis"), QStringLiteral("warm drinks")));
    QVERIFY(repo.setFrequencies(QStringLiteral("Bronchitis"),
                                {QStringLiteral("4"), QStringLiteral("9.6")}));
    DialogRecorder dialogs;
    SettingsPage page(&f.data);
    page.enter();
    auto *list = child<QListWidget>(&page, "DeseaseList");
    auto *memo = child<QPlainTextEdit>(&page, "DesCommentMemo");
    QCOMPARE(itemTexts(list),
             (QStringList{QStringLiteral("Angina"), QStringLiteral("Bronchitis")}));

    list->setCurrentRow(0);
    memo->setPlainText(QStringLiteral("gargle"));
    // Typing part of a name selects the first disease containing it.
    QTest::keyClicks(child<QLineEdit>(&page, "AddDeseaseEdit"), QStringLiteral("BRON"));
    QCOMPARE(page.selectedDisease(), QStringLiteral("Bronchitis"));
    QCOMPARE(repo.comment(QStringLiteral("Angina")), QStringLiteral("gargle"));
    QCOMPARE(memo->toPlainText(), QStringLiteral("warm drinks"));
    QCOMPARE(itemTexts(child<QListWidget>(&page, "FreqListBox")),
             (QStringList{QStringLiteral("4"), QStringLiteral("9.6")}));
    QCOMPARE(child<QListWidget>(&page, "FreqListBox")->currentRow(), 0);

    // Leaving the mode stores the comment being written.
    memo->setPlainText(QStringLiteral("warm drinks, rest"));
    page.leave();
    QCOMPARE(repo.comment(QStringLiteral("Bronchitis")), QStringLiteral("warm drinks, rest"));

    // A deleted disease takes nothing else with it, and its comment goes nowhere.
    page.enter();
    QCOMPARE(page.selectedDisease(), QStringLiteral("Bronchitis"));
    QTest::mouseClick(child<QAbstractButton>(&page, "DeleteDeseaseBtn"), Qt::LeftButton);
    QCOMPARE(dialogs.requests().size(), 1); // asked first
    QCOMPARE(itemTexts(list), QStringList{QStringLiteral("Angina")});
    QVERIFY(page.selectedDisease().isEmpty());
    memo->setPlainText(QStringLiteral("stray"));
    page.leave();
    QCOMPARE(repo.comment(QStringLiteral("Angina")), QStringLiteral("gargle"));
    QVERIFY(texts(dialogs).filter(QStringLiteral("rror")).isEmpty());
}

void TestSettingsPage::worksWithoutBase()
{
    TestEnvironment env;
    DataFolderSetup::run();
    DialogRecorder dialogs;
    DataModule closed;
    for (DataModule *data : {static_cast<DataModule *>(nullptr), &closed}) {
        SettingsPage page(data);
        page.enter();
        QVERIFY(!child<QListWidget>(&page, "DeseaseList")->isEnabled());
        QVERIFY(!child<QAbstractButton>(&page, "AddDeseaseBtn")->isEnabled());
        QVERIFY(!child<QLineEdit>(&page, "AddFreqEdit")->isEnabled());
        page.save();
        page.leave();
    }
    QCOMPARE(dialogs.requests().size(), 2); // "settings saved", twice, and nothing else

    // A base opened later brings the editor to life; closing it shuts it again.
    SettingsPage page(&closed);
    page.show();
    page.enter();
    QVERIFY(closed.open(AppPaths::GetDataPath() + QStringLiteral("BASE.fdb")));
    QVERIFY(child<QListWidget>(&page, "DeseaseList")->isEnabled());
    closed.close();
    QVERIFY(!child<QListWidget>(&page, "DeseaseList")->isEnabled());
}

void TestSettingsPage::languageChoiceAndLook()
{
    Fixture f;
    DialogRecorder dialogs;
    FreqDesRepository repo(&f.data);
    repo.addDisease(QStringLiteral("Bronchitis"));
    repo.setFrequencies(QStringLiteral("Bronchitis"), {QStringLiteral("4"), QStringLiteral("9.6")});
    repo.addDisease(QStringLiteral("Гастрит"));
    SettingsPage page(&f.data);
    page.resize(1020, 536);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    page.enter();
    child<QListWidget>(&page, "DeseaseList")->setCurrentRow(0);

    auto *languages = child<QComboBox>(&page, "LanguageBox");
    QCOMPARE(languages->count(), 2);
    QCOMPARE(languages->currentText(), QStringLiteral("English"));
    QSignalSpy chosen(&page, &SettingsPage::languageChosen);
    // Unnamed meridians show the language's names; a name typed in is kept.
    auto *grid = child<QTableWidget>(&page, "MeridianNameGrid");
    grid->item(5, 2)->setText(QStringLiteral("Kidneys (mine)"));
    const QStringList lungNames{QStringLiteral("Lung"), QStringLiteral("Лёгкие")};

    for (const QString &language : {QStringLiteral("English"), QStringLiteral("Russian")}) {
        const int index = languages->findData(language);
        QVERIFY(index >= 0);
        languages->setCurrentIndex(index);
        Q_EMIT languages->activated(index);
        QCOMPARE(option(QStringLiteral("language"), QStringLiteral("value")), language);
        QCOMPARE(chosen.last().first().toString(), language);
        // What the main window does on languageChosen.
        LanguageApplier::instance().apply(LanguageTexts::load(language));
        QCoreApplication::processEvents();
        QCOMPARE(grid->item(0, 2)->text(), lungNames.at(chosen.count() - 1));
        QCOMPARE(grid->item(5, 2)->text(), QStringLiteral("Kidneys (mine)"));
    }
    {
        // Whatever this machine's font: with a much larger one the page still fits its room,
        // the columns scrolling and the buttons in sight.
        const QFont before = QApplication::font();
        QFont large = before;
        large.setPointSize(before.pointSize() > 0 ? before.pointSize() + 5 : 15);
        QApplication::setFont(large);
        QCoreApplication::processEvents();
        const QSize needed = page.minimumSizeHint();
        QVERIFY2(
            needed.width() <= 1020 && needed.height() <= 600,
            qPrintable(
                QStringLiteral("the page needs %1x%2").arg(needed.width()).arg(needed.height())));
        QVERIFY(child<QPushButton>(&page, "SaveSettings")->isVisible());
        QVERIFY(child<QPushButton>(&page, "SaveSettings")->geometry().bottom() < page.height());
        QApplication::setFont(before);
    }
    QCOMPARE(child<QPushButton>(&page, "SaveSettings")->text(), QStringLiteral("Сохранить"));
    QVERIFY(dialogs.requests().isEmpty());
    page.save();
    QCOMPARE(option(QStringLiteral("meridian"), QStringLiteral("1")), QString());
    QCOMPARE(option(QStringLiteral("meridian"), QStringLiteral("6")),
             QStringLiteral("Kidneys (mine)"));
}

void TestSettingsPage::sharedBaseIsKeptInOptions()
{
    Fixture f;
    DialogRecorder dialogs;
    SettingsPage page(&f.data);
    auto *database = child<QLineEdit>(&page, "UniformDatabase");
    QVERIFY(database->text().isEmpty()); // the default place, shown as the hint
    QCOMPARE(ClientSync::configuredTarget().database, ClientSync::defaultSharedPath());

    database->setText(QStringLiteral("  clinic-server/3050:/srv/bases/Uniform.fdb "));
    child<QLineEdit>(&page, "UniformUser")->setText(QStringLiteral("RECEPTION"));
    child<QLineEdit>(&page, "UniformPassword")->setText(QStringLiteral("s3cret"));
    page.save();
    ClientSync::Target target = ClientSync::configuredTarget();
    QCOMPARE(target.database, QStringLiteral("clinic-server/3050:/srv/bases/Uniform.fdb"));
    QCOMPARE(target.user, QStringLiteral("RECEPTION"));
    QCOMPARE(target.password, QStringLiteral("s3cret"));

    // Emptied again, the default place comes back; a page opened later shows what is kept.
    database->clear();
    page.save();
    QCOMPARE(ClientSync::configuredTarget().database, ClientSync::defaultSharedPath());
    SettingsPage again(&f.data);
    QCOMPARE(child<QLineEdit>(&again, "UniformUser")->text(), QStringLiteral("RECEPTION"));
}

// The import asks before it changes anything, backs this workstation up first, and leaves the
// base open with the other installation's clients and the page showing its settings.
void TestSettingsPage::importFromAnotherInstallation()
{
    Fixture f;
    const QString source = f.env.scratch(QStringLiteral("other"));
    {
        DataModule other;
        const QString base = openSeedBase(f.env, other);
        for (const char *name : {"Anna", "Boris", "Clara"})
            addClient(other, QString::fromLatin1(name), QStringLiteral("Other"));
        other.close();
        QString error;
        QVERIFY2(Gbak().backup(base, source + QStringLiteral("/BASE.FBK"), &error),
                 qPrintable(error));
    }
    QFile options(source + QStringLiteral("/OPTIONS.INI"));
    QVERIFY(options.open(QIODevice::WriteOnly));
    options.write("[medium]\r\nval=25\r\n");
    options.close();

    SettingsPage page(&f.data);
    QSignalSpy saved(&page, &SettingsPage::settingsSaved);
    auto *button = child<InstallationImportButton>(&page, "ImportInstallation");
    const auto clients = [&] {
        BaseFacts::Counts counts;
        BaseFacts::count(f.data.database(), &counts);
        return counts.clients;
    };
    {
        DialogRecorder dialogs(QStringLiteral("no"));
        button->run(source);
        QCOMPARE(clients(), 0);
        QCOMPARE(option(QStringLiteral("medium"), QStringLiteral("val")), QStringLiteral("10"));
        QVERIFY(BackupStore::list(BackupStore::folder()).isEmpty());
        QVERIFY(texts(dialogs).first().contains(QStringLiteral("3 clients")));
    }
    DialogRecorder dialogs(QStringLiteral("yes"));
    button->run(source);
    QVERIFY(f.data.isOpen());
    QCOMPARE(clients(), 3);
    QCOMPARE(option(QStringLiteral("medium"), QStringLiteral("val")), QStringLiteral("25"));
    QCOMPARE(child<QSpinBox>(&page, "MiddlePercent")->value(), 25);
    QCOMPARE(saved.size(), 1);
    QCOMPARE(BackupStore::list(BackupStore::folder()).size(), 1);
    QVERIFY(texts(dialogs).filter(QStringLiteral("rror")).isEmpty());
}

QTEST_MAIN(TestSettingsPage)
#include "tst_settings_page.moc"
