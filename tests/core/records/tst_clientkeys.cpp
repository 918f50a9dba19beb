// Keys of new client cards: "Q7" + the running number of Options.ini, advanced at once, never
// broken by a bad stored number and never a key that is already in use.
#include "app/AppPaths.h"
#include "app/DataFolderSetup.h"
#include "Options.h"
#include "records/ClientKeys.h"
#include "records/DataModule.h"
#include "RecordsTestSupport.h"
#include "TestEnvironment.h"

#include <QSqlQuery>
#include <QtTest>

using namespace RecordsTestSupport;

namespace {

void addClient(const QSqlDatabase &db, const QString &code) {
    QSqlQuery query(db);
    query.prepare("INSERT INTO CLIENTS (CODE_CLIENT, NAME) VALUES (?, 'Someone')");
    query.addBindValue(code);
    QVERIFY(query.exec());
}

} // namespace

class TestClientKeys : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keyFromStoredNumber_data() {
        QTest::addColumn<QString>("stored"); // Id in Options.ini
        QTest::addColumn<QString>("taken");  // codes in CLIENTS; "test:" prefix for TESTS only
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("next"); // Id afterwards
        // clang-format off
        QTest::newRow("plain number")             << "5"      << ""          << "Q75"   << "6";
        QTest::newRow("leading zeros kept")       << "007"    << ""          << "Q7007" << "8";
        QTest::newRow("blanks around")            << " 12 "   << ""          << "Q712"  << "13";
        QTest::newRow("empty")                    << ""       << ""          << "Q71"   << "2";
        QTest::newRow("not a number")             << "abc"    << ""          << "Q71"   << "2";
        QTest::newRow("number with text")         << "12abc"  << ""          << "Q71"   << "2";
        QTest::newRow("too large")                << "99999999999999999999" << "" << "Q71" << "2";
        QTest::newRow("taken")                    << "5"      << "Q75 Q76"   << "Q77"   << "8";
        QTest::newRow("taken in another case")    << "5"      << "q75"       << "Q76"   << "7";
        QTest::newRow("taken by tests of a deleted card") << "5" << "test:Q75" << "Q76" << "7";
        QTest::newRow("leading zeros taken")      << "007"    << "Q7007"     << "Q78"   << "9";
        QTest::newRow("bad number and 1 taken")   << "x"      << "Q71"       << "Q72"   << "3";
        QTest::newRow("other keys do not matter") << "5"      << "Q750 Q7"   << "Q75"   << "6";
        QTest::newRow("beyond Q799")              << "799"    << "Q7799"     << "Q7800" << "801";
        // clang-format on
    }
    void keyFromStoredNumber() {
        QFETCH(QString, stored);
        QFETCH(QString, taken);
        TestEnvironment env;
        DataFolderSetup::run();
        QVERIFY(setOption("Client", "Id", stored));
        DataModule data;
        QString error;
        QVERIFY2(data.open(AppPaths::GetDataPath() + "BASE.fdb", &error), qPrintable(error));
        for (const QString &code : taken.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (code.startsWith(QLatin1String("test:"))) {
                TestRecord test = makeTest(code.mid(5), QDateTime::currentDateTime());
                QVERIFY(data.saveTest(test));
            } else {
                addClient(data.database(), code);
            }
        }
        QTEST(ClientKeys::next(data, &error), "key");
        QVERIFY(error.isEmpty());
        QTEST(option("Client", "Id"), "next");
        // The rest of the settings file is untouched.
        QCOMPARE(option("language", "value"), "English");
    }

    void keysFollowEachOther() {
        TestEnvironment env;
        DataFolderSetup::run();
        DataModule data;
        QString error;
        // A closed base gives no key and uses up no number.
        QVERIFY(ClientKeys::next(data, &error).isEmpty());
        QVERIFY(!error.isEmpty());
        QCOMPARE(option("Client", "Id"), "1");
        QVERIFY2(data.open(AppPaths::GetDataPath() + "BASE.fdb", &error), qPrintable(error));
        QStringList keys;
        for (int i = 0; i < 3; ++i) {
            keys.append(ClientKeys::next(data, &error));
            addClient(data.database(), keys.last());
        }
        QCOMPARE(keys, QStringList({"Q71", "Q72", "Q73"}));
        // Settings reset behind the program's back (Options.ini deleted): no key comes twice.
        QVERIFY(QFile::remove(optionsFile()));
        QCOMPARE(ClientKeys::next(data, &error), "Q74");
        QCOMPARE(option("Client", "Id"), "5");
    }
};

QTEST_GUILESS_MAIN(TestClientKeys)
#include "tst_clientkeys.moc"
