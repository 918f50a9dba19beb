// The reference tables page in the real browser: a chosen table shows under its title, in
// English and Russian; moving tables at the ends of the list; a table file that went missing.
#include "app/DataFolderSetup.h"
#include "DialogRecorder.h"
#include "localization/LanguageApplier.h"
#include "localization/LanguageTexts.h"
#include "localization/Localization.h"
#include "ryodoraku/TablePanel.h"
#include "TestEnvironment.h"
#include "WebEngineTestMain.h"

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {
constexpr int LoadTimeout = 20000;
}

class TestTablePanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void showsTheChosenTable_data();
    void showsTheChosenTable();
    void moving();
    void missingTableFileChangesNothing();

private:
    // Three small tables of our own: Alpha, Beta, Gamma.
    QString makeTables();
    bool openPage(const QString &root);
    void choose(int index);
    QStringList tableItems() const;

    TestEnvironment *m_env = nullptr;
    TablePanel *m_page = nullptr;
    QListWidget *m_list = nullptr;
};

void TestTablePanel::init()
{
    m_env = new TestEnvironment;
    DataFolderSetup::run();
}

void TestTablePanel::cleanup()
{
    delete m_page;
    m_page = nullptr;
    delete m_env;
}

QString TestTablePanel::makeTables()
{
    const QString folder =
        m_env->scratch(QStringLiteral("Tables/English/FullNames")) + QStringLiteral("/../");
    QFile titles(folder + QStringLiteral("FullNames/Names.INI"));
    if (titles.open(QIODevice::WriteOnly))
        titles.write("[Names]\r\nAlpha=The first table\r\nBeta=The second table\r\n");
    for (const char *name : {"Alpha", "Beta", "Gamma"}) {
        QFile table(folder + QLatin1String(name) + QStringLiteral(".htm"));
        if (table.open(QIODevice::WriteOnly))
            table.write(QByteArray("<p>Table ") + name + "</p>");
    }
    return m_env->scratch(QStringLiteral("Tables"));
}

bool TestTablePanel::openPage(const QString &root)
{
    m_page = new TablePanel(root);
    m_list = m_page->findChild<QListWidget *>(QStringLiteral("TableList"));
    m_page->resize(1020, 536);
    m_page->show();
    QSignalSpy loaded(m_page, &TablePanel::tableLoaded);
    m_page->enter();
    return QTest::qWaitForWindowExposed(m_page)
           && (m_page->shownTable().isEmpty() || loaded.wait(LoadTimeout));
}

void TestTablePanel::choose(int index)
{
    QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {},
                      m_list->visualItemRect(m_list->item(index)).center());
}

QStringList TestTablePanel::tableItems() const
{
    QStringList texts;
    for (int i = 0; i < m_list->count(); ++i) {
        if (!TableCatalogue::isSeparator(m_list->item(i)->text()))
            texts << m_list->item(i)->text();
        else if (i % 2 == 0)
            texts << QStringLiteral("separator out of place");
    }
    return texts;
}

void TestTablePanel::showsTheChosenTable_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("index"); // of "Measuring points" in the list
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("content"); // a text the table must show

    QTest::newRow("English") << QStringLiteral(
        "English") << 2 << QStringLiteral("The 12 representative measuring points (H1–H6, F1–F6)")
                             << QStringLiteral("Taiyuan");
    QTest::newRow("Russian") << QStringLiteral("Russian") << 8
                             << QStringLiteral("12 репрезентативных точек измерения (H1–H6, F1–F6)")
                             << QStringLiteral("тай-юань");
}

void TestTablePanel::showsTheChosenTable()
{
    QFETCH(QString, language);
    QFETCH(int, index);
    QFETCH(QString, title);
    QFETCH(QString, content);
    QVERIFY(Localization::setCurrentLanguage(language));
    LanguageApplier::instance().apply(LanguageTexts::load(language));
    QVERIFY(openPage(TestEnvironment::installDir() + QStringLiteral("/Tables")));
    QCOMPARE(m_list->count(), 10);
    QCOMPARE(m_list->currentRow(), 0); // the first table is shown on entering

    QSignalSpy loaded(m_page, &TablePanel::tableLoaded);
    choose(index);
    QVERIFY(loaded.wait(LoadTimeout));
    QCOMPARE(loaded.first().first().toBool(), true);
    QCOMPARE(m_page->findChild<QLabel *>(QStringLiteral("TableLabel"))->text(),
             QStringLiteral("  ") + title);
    QString text;
    m_page->browser()->page()->toPlainText([&text](const QString &t) { text = t; });
    QVERIFY(QTest::qWaitFor([&text] { return !text.isEmpty(); }, LoadTimeout));
    QVERIFY(text.contains(content));

    // A click on a separator changes nothing; the arrow keys step over separators.
    const QString shown = m_page->shownTable();
    loaded.clear();
    choose(index + 1);
    QCOMPARE(m_list->currentRow(), index);
    QTest::keyClick(m_list, Qt::Key_Up);
    QCOMPARE(m_list->currentRow(), index - 2);
    QTest::keyClick(m_list, Qt::Key_Down);
    QCOMPARE(m_list->currentRow(), index);
    QVERIFY(QTest::qWaitFor(
        [&loaded] { return !loaded.isEmpty() && loaded.last().first().toBool(); }, LoadTimeout));
    QCOMPARE(m_page->shownTable(), shown);
}

// Moving a table moves it alone, without loading the one on show again: the ends of the list
// stay as they are, and the numbers are not renumbered.
void TestTablePanel::moving()
{
    QVERIFY(openPage(makeTables()));
    QSignalSpy loaded(m_page, &TablePanel::tableLoaded);
    const QStringList unchanged{"  1. Alpha", "  2. Beta", "  3. Gamma"};
    const std::tuple<int, const char *, QStringList, int> moves[] = {
        {0, "TableUp", unchanged, 0},
        {4, "TableDown", unchanged, 4},
        {2, "TableUp", {"  2. Beta", "  1. Alpha", "  3. Gamma"}, 0}};
    for (const auto &[selected, button, order, selectedAfter] : moves) {
        if (m_list->currentRow() != selected) {
            choose(selected);
            QVERIFY(loaded.wait(LoadTimeout));
        }
        const QString shown = m_page->shownTable();
        loaded.clear();
        QTest::mouseClick(m_page->findChild<QToolButton *>(button), Qt::LeftButton);
        QCOMPARE(tableItems(), order);
        QCOMPARE(m_list->currentRow(), selectedAfter);
        QCOMPARE(m_page->shownTable(), shown);
        QTest::qWait(50);
        QCOMPARE(loaded.size(), 0); // the table on show is not loaded again
    }
}

void TestTablePanel::missingTableFileChangesNothing()
{
    const QString root = makeTables();
    QVERIFY(openPage(root));
    auto *title = m_page->findChild<QLabel *>(QStringLiteral("TableLabel"));
    const QString titleText = title->text();
    const QUrl url = m_page->browser()->url();
    QVERIFY(QFile::remove(root + QStringLiteral("/English/Beta.htm")));

    DialogRecorder dialogs;
    choose(2);
    QCOMPARE(dialogs.requests().size(), 1);
    const QString message = dialogs.requests().first().text;
    QVERIFY2(message.startsWith(Localization::Translate(QStringLiteral("NotFoundFile")).trimmed())
                 && message.endsWith(QStringLiteral("Beta.htm")),
             qPrintable(message));
    QCOMPARE(title->text(), titleText);
    QCOMPARE(m_list->currentRow(), 0);
    QCOMPARE(m_page->browser()->url(), url);

    // Without any tables the list stays empty and the buttons do nothing.
    delete m_page;
    QVERIFY(openPage(m_env->scratch(QStringLiteral("NoTables"))));
    for (const char *button : {"TableUp", "TableDown", "RefreshTable"})
        QTest::mouseClick(m_page->findChild<QToolButton *>(QLatin1String(button)), Qt::LeftButton);
    QCOMPARE(m_list->count(), 0);
    QVERIFY(m_page->shownTable().isEmpty());
}

VANDREL_WEBENGINE_TEST_MAIN(TestTablePanel)

#include "tst_table_panel.moc"
