// The print catalogues keep to the interface language: only rows whose LANGUAGE begins with
// the language name are listed, and a language name is never read as SQL or as a pattern.
#include "records/DataModule.h"
#include "RecordsTestSupport.h"
#include "reports/PrintCatalogue.h"
#include "TestEnvironment.h"

#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

using namespace RecordsTestSupport;

class TestPrintCatalogue : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        openSeedBase(m_env, m_data);
        QSqlQuery q(m_data.database());
        QVERIFY(
            q.prepare("INSERT INTO RECOMENDATION (NAME, DESCRIPTION, LANGUAGE) VALUES (?, ?, ?)"));
        const QList<QStringList> rows = {{"Rest", "English"},  {"Walks", "ENGLISH"},
                                         {"Отдых", "Russian"}, {"Diet", "Eng'lish"},
                                         {"Sleep", "E%"},      {"Nothing", ""}};
        for (const QStringList &row : rows) {
            q.addBindValue(row[0]);
            q.addBindValue(QString(row[0] + QStringLiteral("\nsecond line")));
            q.addBindValue(row[1]);
            QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
        }
    }
    void cleanupTestCase() { m_data.close(); }

    void onlyTheCurrentLanguage_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("english, any case") << "English" << QStringList{"Rest", "Walks"};
        QTest::newRow("russian") << "Russian" << QStringList{"Отдых"};
        QTest::newRow("quote is plain") << "Eng'lish" << QStringList{"Diet"};
        QTest::newRow("wildcard is plain") << "E%" << QStringList{"Sleep"};
        QTest::newRow("unknown language") << "German" << QStringList{};
        QTest::newRow("no language") << "" << QStringList{};
    }
    void onlyTheCurrentLanguage() {
        QFETCH(QString, language);
        PrintCatalogue catalogue(&m_data);
        catalogue.setLanguage(language);
        QString error;
        QStringList found;
        const auto rows = catalogue.recommendations(&error);
        for (const auto &r : rows)
            found.append(r.name);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QTEST(found, "names");
        if (!rows.isEmpty())
            QCOMPARE(rows.first().description, rows.first().name + QStringLiteral("\nsecond line"));
    }

    void stencilsFollowTheLanguage() {
        QSqlQuery q(m_data.database());
        QVERIFY(q.prepare("INSERT INTO STENCILS (NAME, HEADER, FOOTER, QUEUE, PRIORITY, LANGUAGE, "
                          "RECOMENDATION) VALUES (?, '<b>Head</b>', 'Foot', '0#1&1#1&', 1, ?, "
                          "'Rest#&')"));
        for (const char *language : {"English", "Russian"}) {
            q.addBindValue(QString(QStringLiteral("Short ") + QLatin1String(language)));
            q.addBindValue(QLatin1String(language));
            QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
        }
        PrintCatalogue catalogue(&m_data);
        QSignalSpy changed(&catalogue, &PrintCatalogue::languageChanged);
        catalogue.setLanguage("russian");
        const auto rows = catalogue.stencils();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.first().name, "Short Russian");
        QCOMPARE(rows.first().priority, 1);
        QCOMPARE(rows.first().header, "<b>Head</b>");
        QCOMPARE(rows.first().recommendations, "Rest#&");
        // The same language again asks for no new lists.
        catalogue.setLanguage("russian");
        catalogue.setLanguage("English");
        QCOMPARE(changed.count(), 2);
    }

    void closedBaseListsNothing() {
        DataModule closed;
        PrintCatalogue catalogue(&closed);
        catalogue.setLanguage("English");
        QString error;
        QVERIFY(catalogue.recommendations(&error).isEmpty());
        QVERIFY(!error.isEmpty());
    }

private:
    TestEnvironment m_env;
    DataModule m_data;
};

QTEST_GUILESS_MAIN(TestPrintCatalogue)
#include "tst_printcatalogue.moc"
