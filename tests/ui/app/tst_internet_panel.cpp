// The information page: its four entries, the manual in the interface language with working
// contents links, a clear line where a page is missing, and a backup made from the page.
#include "app/AppPaths.h"
#include "app/BackupStore.h"
#include "app/InternetPanel.h"
#include "ChildWidget.h"
#include "ClientTests.h"
#include "DialogRecorder.h"
#include "localization/LanguageApplier.h"
#include "localization/LanguageTexts.h"
#include "Options.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QtTest>

namespace {

// A data folder with an open base holding two clients, the second one chosen.
struct Fixture : ClientTests
{
    QString second;
    Fixture()
    {
        addClient(data, QStringLiteral("Anna"), QStringLiteral("Berg"));
        second = addClient(data, QStringLiteral("Boris"), QStringLiteral("Lind"));
        session.setCurrentClient(second);
    }
};

QTextBrowser *browser(QWidget *page)
{
    return child<QTextBrowser>(page, "InetBrowser");
}

QString shownFile(QWidget *page)
{
    return browser(page)->source().toLocalFile();
}

// Every "#name" link of the shown document, and every anchor name it holds.
void linksAndAnchors(const QTextDocument *doc, QStringList *links, QStringList *anchors)
{
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.anchorHref().startsWith(QLatin1Char('#')))
                links->append(format.anchorHref().mid(1));
            *anchors += format.anchorNames();
        }
    }
}

void useLanguage(const QString &language)
{
    QVERIFY(setOption(QStringLiteral("language"), QStringLiteral("value"), language));
    LanguageApplier::instance().apply(LanguageTexts::load(language));
}

} // namespace

class TestInternetPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QCoreApplication::setApplicationVersion(QStringLiteral("1.1.0")); }
    void init() { LanguageApplier::instance().apply(LanguageTexts()); }
    void entriesSwitchTheView();
    void manualFollowsLanguage_data();
    void manualFollowsLanguage();
    void missingPageShowsClearLine();
    void backupFromThePage();
};

void TestInternetPanel::entriesSwitchTheView()
{
    Fixture f;
    InternetPanel page(&f.data, &f.session);
    auto *list = child<QListWidget>(&page, "InetList");
    auto *bar = child<QWidget>(&page, "BackupBar");
    page.enter();
    QCOMPARE(page.currentEntry(), InternetPanel::Manual);
    QVERIFY(shownFile(&page).endsWith(QStringLiteral("/Help/English/manual.html")));
    QVERIFY(bar->isHidden());

    // The list is walked with the keyboard.
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(page.currentEntry(), InternetPanel::Help);
    QVERIFY(shownFile(&page).endsWith(QStringLiteral("/Help/English/help.html")));
    QVERIFY(browser(&page)->toPlainText().contains(QStringLiteral("Ctrl+S")));

    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(page.currentEntry(), InternetPanel::MyData);
    QVERIFY(!bar->isHidden());
    const QString facts = browser(&page)->toPlainText();
    QVERIFY2(facts.contains(QDir::toNativeSeparators(f.data.path())), qPrintable(facts));
    QVERIFY2(facts.contains(QStringLiteral("Clients\t2"))
                 || facts.contains(QStringLiteral("Clients\n2")),
             qPrintable(facts));
    QVERIFY(child<QLabel>(&page, "LastBackupLabel")
                ->text()
                .startsWith(QStringLiteral("No backup made yet.")));

    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(page.currentEntry(), InternetPanel::About);
    QVERIFY(bar->isHidden());
    const QString about = browser(&page)->toPlainText();
    for (const QString &fact : {QStringLiteral("1.1.0"), QString::fromLatin1(qVersion()),
                                QDir::toNativeSeparators(AppPaths::installFolder())})
        QVERIFY2(about.contains(fact), qPrintable(fact));
    // The engine tells its version ("3.0.11", "4.0.4" ...).
    QVERIFY2(QRegularExpression(QStringLiteral("Firebird engine\\s+\\d+\\.\\d+"))
                 .match(about)
                 .hasMatch(),
             qPrintable(about));

    // Coming back to the page shows the manual again.
    page.leave();
    page.enter();
    QCOMPARE(page.currentEntry(), InternetPanel::Manual);
}

void TestInternetPanel::manualFollowsLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("title");
    QTest::newRow("English") << QStringLiteral("English") << QStringLiteral("English")
                             << QStringLiteral("Vandrel user manual");
    QTest::newRow("Russian") << QStringLiteral("Russian") << QStringLiteral("Russian")
                             << QStringLiteral("Руководство пользователя Vandrel");
    // A language of its own without a manual in it reads the English one.
    QTest::newRow("no folder") << QStringLiteral("Deutsch") << QStringLiteral("English")
                               << QStringLiteral("Vandrel user manual");
}

void TestInternetPanel::manualFollowsLanguage()
{
    QFETCH(QString, language);
    QFETCH(QString, folder);
    QFETCH(QString, title);
    Fixture f;
    useLanguage(language);
    InternetPanel page(&f.data, &f.session);
    page.resize(1020, 536);
    page.show();
    page.enter();
    QVERIFY2(shownFile(&page).endsWith(QStringLiteral("/Help/%1/manual.html").arg(folder)),
             qPrintable(shownFile(&page)));
    QVERIFY(browser(&page)->toPlainText().startsWith(title));

    // Every contents link leads to a heading of the page, in the manual and the help page.
    for (const InternetPanel::Entry entry : {InternetPanel::Manual, InternetPanel::Help}) {
        page.showEntry(entry);
        QStringList links;
        QStringList anchors;
        linksAndAnchors(browser(&page)->document(), &links, &anchors);
        if (entry == InternetPanel::Manual)
            QVERIFY(links.size() >= 15); // the contents
        for (const QString &link : std::as_const(links))
            QVERIFY2(anchors.contains(link), qPrintable(link));
    }

    page.showEntry(InternetPanel::Manual);
    browser(&page)->setSource(QUrl(QStringLiteral("#data")));
    QVERIFY(browser(&page)->verticalScrollBar()->value() > 0);
}

void TestInternetPanel::missingPageShowsClearLine()
{
    Fixture f;
    // An install folder without the help pages.
    AppPaths::setInstallFolder(f.env.scratch(QStringLiteral("bare install")));
    InternetPanel page(&f.data, &f.session);
    page.enter();
    const QString shown = browser(&page)->toPlainText();
    AppPaths::setInstallFolder(TestEnvironment::installDir());
    QVERIFY2(shown.contains(QStringLiteral("Help/English/manual.html"))
                 && shown.contains(QStringLiteral("missing")),
             qPrintable(shown));
}

void TestInternetPanel::backupFromThePage()
{
    Fixture f;
    InternetPanel page(&f.data, &f.session);
    page.showEntry(InternetPanel::MyData);

    // The folder chosen on the page is where the backups go from then on.
    const QString target = f.env.scratch(QStringLiteral("backups"));
    DialogRecorder dialogs{target};
    QTest::mouseClick(child<QPushButton>(&page, "BackupFolderButton"), Qt::LeftButton);
    QCOMPARE(dialogs.requests().size(), 1);
    QCOMPARE(dialogs.requests().first().kind, Dialogs::Kind::Folder);
    QCOMPARE(BackupStore::folder(), target);
    QVERIFY(
        child<QLabel>(&page, "LastBackupLabel")->text().contains(QDir::toNativeSeparators(target)));

    dialogs.clear();
    QTest::mouseClick(child<QPushButton>(&page, "BackupButton"), Qt::LeftButton);
    const QStringList made = QDir(target).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(made.size(), 1);
    QVERIFY(made.first().startsWith(QStringLiteral("Vandrel backup ")));
    QCOMPARE(dialogs.requests().size(), 1);
    QCOMPARE(dialogs.requests().last().kind, Dialogs::Kind::Message);
    QVERIFY(dialogs.requests().last().text.contains(made.first()));

    const QString last = child<QLabel>(&page, "LastBackupLabel")->text();
    QVERIFY2(last.startsWith(QStringLiteral("Last verified backup: "))
                 && last.contains(QStringLiteral("2 clients")),
             qPrintable(last));
    // The program goes on with its base and its client.
    QVERIFY(f.data.isOpen());
    QCOMPARE(f.session.currentClient(), f.second);
    QVERIFY(child<QPushButton>(&page, "BackupButton")->isEnabled());
}

QTEST_MAIN(TestInternetPanel)
#include "tst_internet_panel.moc"
