// The print catalogues keep to the interface language: only rows whose LANGUAGE begins with
// the language name are listed, and a language name is never read as SQL or as a pattern.
#include "records/DataModule.h"
#include "reports/PrintCatalogue.h"
#include "RecordsTestSupport.h"
#include "TestEnvironment.h"

#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

using namespace RecordsTestSupport;

class TestPrintCatalogue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void onlyTheCurrentLanguage_data();
    void onlyTheCurrentLanguage();
    void stencilsFollowTheLanguage();
    void changingTheLanguageAsksForNewLists();
    void closedBaseListsNothing();

private:
    void addRecommendation(const QString &name, const QString &language);

    std::unique_ptr<TestEnvironment> m_env;
    DataModule m_data;
};

void TestPrintCatalogue::addRecommendation(const QString &name, const QString &language)
{
    QSqlQuery q(m_data.database());
    QVERIFY(q.prepare(QStringLiteral(
        "INSERT INTO RECOMENDATION (NAME, DESCRIPTION, LANGUAGE) VALUES (?, ?, ?)")));
    q.addBindValue(name);
    q.addBindValue(QString(name + QStringLiteral("\nsecond line")));
    q.addBindValue(language);
    QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
}

void TestPrintCatalogue::initTestCase()
{
    m_env = std::make_unique<TestEnvironment>();
    openSeedBase(*m_env, m_data);
    addRecommendation(QStringLiteral("Rest"), QStringLiteral("English"));
    addRecommendation(QStringLiteral("Walks"), QStringLiteral("ENGLISH"));
    addRecommendation(QStringLiteral("Отдых"), QStringLiteral("Russian"));
    addRecommendation(QStringLiteral("Diet"), QStringLiteral("Eng'lish"));
    addRecommendation(QStringLiteral("Sleep"), QStringLiteral("E%"));
    addRecommendation(QStringLiteral("Nothing"), QString());
}

void TestPrintCatalogue::cleanupTestCase()
{
    m_data.close();
    m_env.reset();
}

void TestPrintCatalogue::onlyTheCurrentLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("english, any case") << "English" << QStringList{"Rest", "Walks"};
    QTest::newRow("russian") << "Russian" << QStringList{QStringLiteral("Отдых")};
    QTest::newRow("quote is plain") << "Eng'lish" << QStringList{"Diet"};
    QTest::newRow("wildcard is plain") << "E%" << QStringList{"Sleep"};
    QTest::newRow("unknown language") << "German" << QStringList{};
    QTest::newRow("no language") << "" << QStringList{};
}

void TestPrintCatalogue::onlyTheCurrentLanguage()
{
    QFETCH(QString, language);
    QFETCH(QStringList, names);
    PrintCatalogue catalogue(&m_data);
    catalogue.setLanguage(language);
    QString error;
    QStringList found;
    const auto rows = catalogue.recommendations(&error);
    for (const auto &r : rows)
        found.append(r.name);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(found, names);
    if (!rows.isEmpty())
        QCOMPARE(rows.first().description, rows.first().name + QStringLiteral("\nsecond line"));
}

void TestPrintCatalogue::stencilsFollowTheLanguage()
{
    QSqlQuery q(m_data.database());
    QVERIFY(q.prepare(QStringLiteral("INSERT INTO STENCILS (NAME, HEADER, FOOTER, QUEUE, PRIORITY, "
                                     "LANGUAGE, RECOMENDATION) VALUES (?, ?, ?, ?, ?, ?, ?)")));
    for (const char *language : {"English", "Russian"}) {
        q.addBindValue(QString(QStringLiteral("Short ") + QLatin1String(language)));
        q.addBindValue(QStringLiteral("<b>Head</b>"));
        q.addBindValue(QStringLiteral("Foot"));
        q.addBindValue(QStringLiteral("0#1&1#1&"));
        q.addBindValue(1);
        q.addBindValue(QLatin1String(language));
        q.addBindValue(QStringLiteral("Rest#&"));
        QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
    }
    PrintCatalogue catalogue(&m_data);
    catalogue.setLanguage(QStringLiteral("russian"));
    const auto rows = catalogue.stencils();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().name, QStringLiteral("Short Russian"));
    QCOMPARE(rows.first().priority, 1);
    QCOMPARE(rows.first().header, QStringLiteral("<b>Head</b>"));
    QCOMPARE(rows.first().recommendations, QStringLiteral("Rest#&"));
}

void TestPrintCatalogue::changingTheLanguageAsksForNewLists()
{
    PrintCatalogue catalogue(&m_data);
    QSignalSpy spy(&catalogue, &PrintCatalogue::languageChanged);
    catalogue.setLanguage(QStringLiteral("English"));
    catalogue.setLanguage(QStringLiteral("English"));
    catalogue.setLanguage(QStringLiteral("Russian"));
    QCOMPARE(spy.count(), 2);
}

void TestPrintCatalogue::closedBaseListsNothing()
{
    DataModule closed;
    PrintCatalogue catalogue(&closed);
    catalogue.setLanguage(QStringLiteral("English"));
    QString error;
    QVERIFY(catalogue.recommendations(&error).isEmpty());
    QVERIFY(!error.isEmpty());
}

QTEST_GUILESS_MAIN(TestPrintCatalogue)
#include "tst_printcatalogue.moc"
