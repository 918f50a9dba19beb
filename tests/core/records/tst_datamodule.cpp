// The client base: its layout, opening, storing and finding tests, and the mends: changes
// committed at once, narrow client-code columns widened, user text kept out of the SQL text,
// Cyrillic stored as WIN1251.
#include "Options.h"
#include "records/Channels.h"
#include "records/ClientKeys.h"
#include "records/DataModule.h"
#include "records/SchemaUpgrade.h"
#include "OldBases.h"
#include "RecordsTestSupport.h"
#include "TestEnvironment.h"

#include <QFile>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QtTest>

#include <cstdio>

using namespace RecordsTestSupport;
using OldBases::narrowBaseScript;

namespace {

const char *const ChildSaveArgument = "--save-test-and-wait";

// Runs one statement: the first column of the rows it gives, or its error text.
QStringList run(const QSqlDatabase &db, const QString &sql) {
    QSqlQuery query(db);
    if (!query.exec(sql))
        return {QStringLiteral("error: ") + query.lastError().text()};
    QStringList values;
    while (query.isSelect() && query.next())
        values.append(query.value(0).toString());
    return values;
}

// The declared width of every client-code column, where it is a VARCHAR.
QStringList clientCodeWidths(const QSqlDatabase &db) {
    QStringList widths;
    for (const SchemaUpgrade::Column &code : SchemaUpgrade::clientCodeColumns())
        widths += code.table + QLatin1Char('.') + code.column + QLatin1Char('=') +
                  run(db, QStringLiteral("SELECT F.RDB$CHARACTER_LENGTH FROM RDB$RELATION_FIELDS "
                                         "RF JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = "
                                         "RF.RDB$FIELD_SOURCE WHERE RF.RDB$RELATION_NAME = '%1' "
                                         "AND RF.RDB$FIELD_NAME = '%2' AND F.RDB$FIELD_TYPE = 37")
                              .arg(code.table, code.column))
                      .value(0);
    return widths;
}

QStringList allSixteenWide() {
    QStringList widths;
    for (const SchemaUpgrade::Column &code : SchemaUpgrade::clientCodeColumns())
        widths += code.table + QLatin1Char('.') + code.column + "=16";
    return widths;
}

QStringList rowCount(const QSqlDatabase &db, const QString &table) {
    return run(db, QStringLiteral("SELECT COUNT(*) FROM ") + table);
}

// Run as a child: store one test, say so, and wait to be killed.
int saveTestAndWait(const QString &path, const QString &client) {
    DataModule data;
    QString error;
    TestRecord test = makeTest(client, QDateTime(QDate(2023, 7, 8), QTime(9, 10, 11)), 77);
    if (!data.open(path, &error) || !data.saveTest(test, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 2;
    }
    std::printf("saved %d\n", test.codeTest);
    std::fflush(stdout);
    for (;;)
        QThread::sleep(1);
}

} // namespace

// Every test starts with a fresh copy of the seed base, open in m_data.
class TestDataModule : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        m_env = std::make_unique<TestEnvironment>();
        m_path = copySeedBase(*m_env);
        QVERIFY2(m_data.open(m_path, &m_error), qPrintable(m_error));
        m_error.clear();
    }
    void cleanup() {
        m_data.close();
        m_env.reset();
    }

    // The columns whose order matters (the shared base is copied from by position) and the
    // width of every client-code column. The other tables are read through their repositories,
    // whose own tests would miss a column.
    void schemaLayout() {
        const QStringList clients =
            QStringLiteral("CODE_CLIENT NAME SURNAME BIRTHDAY WEIGHT HEIGHT SEX CITY "
                           "ADRESS ADRESS2 INDEX1 SAIT E_MAIL TEL1 TEL2 TEL3 FOTO "
                           "DATECREATE COMMENT COUNTRY SKYPE SKYPETYPE FOR_PRINT")
                .split(QLatin1Char(' '));
        const QString columns =
            QStringLiteral("SELECT TRIM(RDB$FIELD_NAME) FROM RDB$RELATION_FIELDS "
                           "WHERE RDB$RELATION_NAME = '%1' ORDER BY "
                           "RDB$FIELD_POSITION");
        const QSqlDatabase db = m_data.database();
        QCOMPARE(run(db, columns.arg("CLIENTS")), clients);
        QCOMPARE(run(db, columns.arg("TESTS")),
                 QStringList({"CODE_TEST", "CODE_CLIENT", "TEST_DATE"}) + Channels::names());
        QCOMPARE(clientCodeWidths(db), allSixteenWide());

        DataModule shared;
        QVERIFY2(shared.open(copySeedBase(*m_env, "/defUniformDB/Uniform.fdb"), &m_error),
                 qPrintable(m_error));
        QCOMPARE(run(shared.database(), columns.arg("CLIENTS")), clients);
    }

    void openFailsCleanly_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        // clang-format off
        QTest::newRow("empty path") << "empty" << "No database file";
        QTest::newRow("missing file") << "missing" << "does not exist";
        QTest::newRow("not a database") << "garbage" << "Cannot open the database";
        QTest::newRow("table missing") << "no-stencils" << "STENCILS";
        // clang-format on
    }
    void openFailsCleanly() {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        QString path;
        if (kind == QLatin1String("missing")) {
            path = m_env->scratch("bad") + "/NONE.fdb";
        } else if (kind == QLatin1String("garbage")) {
            path = m_env->scratch("bad") + "/BASE.fdb";
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(70000, 'x'));
        } else if (kind == QLatin1String("no-stencils")) {
            m_data.close();
            path = m_path;
            QCOMPARE(runIsql("DROP TABLE STENCILS;\nCOMMIT;\n", path), QString());
        }
        QVERIFY(!m_data.open(path, &m_error));
        QVERIFY2(m_error.contains(message), qPrintable(m_error));
        QVERIFY(!m_data.isOpen());
        QVERIFY(!QSqlDatabase::contains(m_data.connectionName()));
        // Usable afterwards.
        QVERIFY2(m_data.open(copySeedBase(*m_env), &m_error), qPrintable(m_error));
    }

    void savedTestReadsBackAtOnceUnderAnUnusedKey() {
        const int first = m_data.newTestKey(&m_error);
        QVERIFY2(first > 0, qPrintable(m_error));
        QCOMPARE(m_data.newTestKey(), first + 1);
        // A test stored under a key TEST_PROC has not reached yet (copied from elsewhere) keeps
        // it, and that key is never handed out again.
        TestRecord imported = makeTest("Q71", QDateTime::currentDateTime());
        imported.codeTest = first + 100;
        QVERIFY2(m_data.saveTest(imported, &m_error), qPrintable(m_error));
        QCOMPARE(imported.codeTest, first + 100);
        QCOMPARE(m_data.newTestKey(), first + 101);

        // Another connection sees a stored test at once: it is committed when saved.
        DataModule reader;
        QVERIFY2(reader.open(m_path, &m_error), qPrintable(m_error));
        QCOMPARE(reader.testsOfClient("Q72").size(), 0);
        const QDateTime when(QDate(2022, 2, 3), QTime(14, 15, 16, 789));
        TestRecord test = makeTest("Q72", when, 20);
        QVERIFY2(m_data.saveTest(test, &m_error), qPrintable(m_error));
        QCOMPARE(test.codeTest, first + 102);
        const std::optional<TestRecord> read = reader.test(test.codeTest);
        QVERIFY(read.has_value());
        QCOMPARE(read->codeClient, "Q72");
        QCOMPARE(read->testDate, when);
        QCOMPARE(read->values, test.values);
        QCOMPARE(reader.testDates("Q72"), QList<QDateTime>{when});
        QVERIFY(!reader.test(test.codeTest + 1000).has_value());
        // Each module has its own connection: closing one, even twice, leaves the other working.
        reader.close();
        reader.close();
        QCOMPARE(m_data.testsOfClient("Q72").size(), 1);
    }

    void badTestIsRefused_data() {
        QTest::addColumn<QString>("client");
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QString>("message");
        const QDateTime now = QDateTime::currentDateTime();
        QTest::newRow("blank client") << "   " << now << "without a client";
        QTest::newRow("client too long") << "Q7123456789012345" << now << "longer than 16";
        QTest::newRow("no date") << "Q71" << QDateTime() << "without its date";
    }
    void badTestIsRefused() {
        QFETCH(QString, client);
        QFETCH(QDateTime, when);
        QFETCH(QString, message);
        TestRecord test = makeTest(client, when);
        QVERIFY(!m_data.saveTest(test, &m_error));
        QVERIFY2(m_error.contains(message), qPrintable(m_error));
        QCOMPARE(test.codeTest, 0);
        QCOMPARE(rowCount(m_data.database(), "TESTS"), QStringList{"0"});
    }

    void testsNewestFirstAndNoneForAClientWithout() {
        const QDateTime march(QDate(2021, 3, 1), QTime(10, 0));
        const QDateTime january(QDate(2021, 1, 1), QTime(10, 0));
        const QDateTime may(QDate(2021, 5, 1), QTime(10, 0));
        QList<int> keys;
        for (const QDateTime &when : {march, january, may}) {
            TestRecord test = makeTest("Q72", when);
            QVERIFY2(m_data.saveTest(test, &m_error), qPrintable(m_error));
            keys.prepend(test.codeTest);
        }
        TestRecord other = makeTest("Q73", may.addDays(1));
        QVERIFY(m_data.saveTest(other));
        QList<int> listed;
        for (const TestRecord &test : m_data.testsOfClient("Q72"))
            listed.append(test.codeTest);
        QCOMPARE(listed, keys); // the last stored first
        QCOMPARE(m_data.testDates("Q72"), (QList<QDateTime>{may, march, january}));

        QCOMPARE(
            run(m_data.database(), "INSERT INTO CLIENTS (CODE_CLIENT, NAME) VALUES ('Q74', 'V')"),
            QStringList());
        QVERIFY(m_data.testsOfClient("Q74", &m_error).isEmpty());
        QVERIFY(m_data.testDates("Q74", &m_error).isEmpty());
        QVERIFY(m_data.testsOfClient(QString(), &m_error).isEmpty());
        QVERIFY2(m_error.isEmpty(), qPrintable(m_error));
        // A closed base answers with a message, not a crash.
        m_data.close();
        QVERIFY(m_data.testsOfClient("Q72", &m_error).isEmpty());
        QVERIFY(!m_error.isEmpty());
    }

    void clientLookup_data() {
        QTest::addColumn<QString>("asked");
        QTest::addColumn<int>("expected"); // tests found; each stored client has one
        QTest::newRow("lower stored, upper asked") << "Q75" << 1;
        QTest::newRow("upper stored, lower asked") << "q71" << 1;
        QTest::newRow("Cyrillic letters") << "Q7Ж" << 1;
        QTest::newRow("quote in the code") << "Q7'1" << 1;
        QTest::newRow("quote, other case") << "q7'1" << 1;
        QTest::newRow("SQL tautology") << "' OR '1'='1" << 0;
        QTest::newRow("comment") << "Q71'--" << 0;
        QTest::newRow("percent") << "Q7%" << 0;
        QTest::newRow("underscore") << "Q7_1" << 0;
        QTest::newRow("double quote") << "Q7\"1" << 0;
    }
    void clientLookup() {
        QFETCH(QString, asked);
        QFETCH(int, expected);
        for (const char *client : {"Q7'1", "Q71", "Q711", "q75", "Q7ж"}) {
            TestRecord test = makeTest(QString::fromUtf8(client), QDateTime::currentDateTime());
            QVERIFY2(m_data.saveTest(test, &m_error), qPrintable(m_error));
        }
        const QList<TestRecord> tests = m_data.testsOfClient(asked, &m_error);
        QCOMPARE(tests.size(), expected);
        for (const TestRecord &test : tests)
            QCOMPARE(test.codeClient.toUpper(), asked.toUpper());
        QCOMPARE(m_data.testDates(asked, &m_error).size(), expected);
        QVERIFY2(m_error.isEmpty(), qPrintable(m_error));
        QCOMPARE(rowCount(m_data.database(), "TESTS"), QStringList{"5"});
    }

    void savedTestSurvivesAKilledProcess() {
        m_data.close(); // the embedded engine gives the file to one process at a time
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QString::fromLatin1(ChildSaveArgument), m_path, "Q7900"});
        QVERIFY(child.waitForStarted());
        QByteArray line;
        QDeadlineTimer deadline(60000);
        while (!line.contains('\n') && !deadline.hasExpired() &&
               child.state() != QProcess::NotRunning) {
            child.waitForReadyRead(500);
            line += child.readAllStandardOutput();
        }
        QVERIFY2(line.startsWith("saved "), child.readAllStandardError().constData());
        child.kill(); // SIGKILL: no clean-up, no closing of the connection
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);

        QVERIFY2(m_data.open(m_path, &m_error), qPrintable(m_error));
        const QList<TestRecord> tests = m_data.testsOfClient("Q7900");
        QCOMPARE(tests.size(), 1);
        QCOMPARE(tests.first().codeTest, line.mid(6).trimmed().toInt());
        QCOMPARE(tests.first().values[0], 77);
    }

    void narrowBaseIsWidenedOnOpen() {
        const QString path = m_env->scratch("old") + "/BASE.fdb";
        QCOMPARE(runIsql(narrowBaseScript(path)), QString());
        // A copy left behind by an upgrade that was cut off is not taken for the base.
        QFile stale(path + ".upgrading");
        QVERIFY(stale.open(QIODevice::WriteOnly) && stale.write("half a base") > 0);
        stale.close();
        QVERIFY2(m_data.open(path, &m_error), qPrintable(m_error));
        QVERIFY(!QFile::exists(path + ".upgrading"));
        // The engine no longer sweeps an older base unasked: its sweep can bring back a save
        // that a kill cut off.
        QCOMPARE(run(m_data.database(), "SELECT MON$SWEEP_INTERVAL FROM MON$DATABASE"),
                 QStringList{"0"});
        QString key;
        {
            const QSqlDatabase db = m_data.database();
            QCOMPARE(clientCodeWidths(db), allSixteenWide());
            // The data are kept, without the padding of the former CHAR columns.
            QCOMPARE(run(db, "SELECT CODE_CLIENT || '|' || NAME FROM CLIENTS UNION ALL SELECT ID "
                             "|| '|' FROM INQUIRER UNION ALL SELECT ID || '|' FROM REMINDER"),
                     QStringList({"Q71|Анна", "Q799|Boris", "Q71|", "Q71|"}));
            const QList<TestRecord> tests = m_data.testsOfClient("q71");
            QCOMPARE(tests.size(), 1);
            QCOMPARE(tests.first().values[0], 60);

            // The next key after Q799 fits now: 99 is taken, so 100 is handed out.
            QVERIFY(setOption("Client", "Id", "99"));
            key = ClientKeys::next(m_data, &m_error);
            QCOMPARE(key, "Q7100");
            QCOMPARE(run(db, QStringLiteral("INSERT INTO CLIENTS VALUES ('%1', 'Clara')").arg(key)),
                     QStringList());
            // The old procedure offers key 1, which a test holds: the next free key is taken.
            TestRecord test = makeTest(key, QDateTime::currentDateTime());
            QVERIFY2(m_data.saveTest(test, &m_error), qPrintable(m_error));
            QCOMPARE(test.codeTest, 3);

            // The keys survive: no second Q71, and deleting a client still deletes its tests.
            QVERIFY(!run(db, "INSERT INTO CLIENTS VALUES ('Q71', 'Twin')").isEmpty());
            QCOMPARE(run(db, "DELETE FROM CLIENTS WHERE CODE_CLIENT = 'Q799'"), QStringList());
            QCOMPARE(rowCount(db, "TESTS"), QStringList{"2"});
        }
        // Opening again finds nothing to change.
        m_data.close();
        QVERIFY2(m_data.open(path, &m_error), qPrintable(m_error));
        QCOMPARE(m_data.testsOfClient(key).size(), 1);
    }

    // An upgrade that fails half way leaves the base exactly as it was, not widened but
    // lacking the rest, and no copy behind.
    void failedUpgradeLeavesTheBaseAsItWas() {
        const QString path = m_env->scratch("old") + "/BASE.fdb";
        QCOMPARE(runIsql(narrowBaseScript(path).replace(
                     "COMMIT;\nINSERT", "CREATE TABLE CLIENT_CONFLICTS (X INTEGER);\nCOMMIT;\nINSERT")),
                 QString());
        QVERIFY(!m_data.open(path, &m_error));
        QVERIFY2(m_error.contains("CLIENT_CONFLICTS"), qPrintable(m_error));
        QVERIFY(!QFile::exists(path + ".upgrading"));
        {
            QSqlDatabase db = DataModule::addConnection("raw", path);
            QVERIFY(db.open());
            QCOMPARE(clientCodeWidths(db).filter("=16"), QStringList());
            QCOMPARE(rowCount(db, "RDB$RELATIONS WHERE RDB$RELATION_NAME = 'SYNC_PENDING'"),
                     QStringList{"0"});
            QCOMPARE(rowCount(db, "TESTS"), QStringList{"2"});
            db.close();
        }
        QSqlDatabase::removeDatabase("raw");
    }

    void cyrillicRoundTrip_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("storable");
        QTest::newRow("yo and hyphen") << "Ёлкина-Щукина" << true;
        QTest::newRow("punctuation of cp1251") << "«Цитата» — №1" << true;
        QTest::newRow("Ukrainian letters") << "Їжак Ґалаґан" << true;
        QTest::newRow("outside WIN1251") << "王小明" << false;
    }
    void cyrillicRoundTrip() {
        QFETCH(QString, name);
        QFETCH(bool, storable);
        const QString comment = QStringLiteral("Жалобы: ") + name + "\r\nвторая";
        // A photo: bytes that have no letter in WIN1251 must come back unchanged.
        const QByteArray picture = QByteArray::fromHex("ffd8ffe000104a464946000198ff00d9");
        {
            QSqlQuery insert(m_data.database());
            insert.prepare("INSERT INTO CLIENTS (CODE_CLIENT, NAME, COMMENT, FOTO) "
                           "VALUES ('Q71', ?, ?, ?)");
            insert.addBindValue(name);
            insert.addBindValue(comment);
            insert.addBindValue(picture);
            QCOMPARE(insert.exec(), storable);
            if (!storable) {
                QVERIFY2(insert.lastError().text().contains("transliterate"),
                         qPrintable(insert.lastError().text()));
                QCOMPARE(rowCount(m_data.database(), "CLIENTS"), QStringList{"0"});
                return;
            }
        }
        // Read back through a fresh connection; in the file each letter takes one byte.
        m_data.close();
        QVERIFY2(m_data.open(m_path, &m_error), qPrintable(m_error));
        QSqlQuery read(m_data.database());
        QVERIFY(
            read.exec("SELECT NAME, OCTET_LENGTH(NAME), COMMENT, UPPER(NAME), FOTO FROM CLIENTS"));
        QVERIFY(read.next());
        QCOMPARE(read.value(0).toString(), name);
        QCOMPARE(read.value(1).toInt(), int(name.size()));
        QCOMPARE(DataModule::memoText(read.value(2)), comment);
        QCOMPARE(read.value(3).toString(), name.toUpper());
        QCOMPARE(read.value(4).toByteArray(), picture);
    }

private:
    std::unique_ptr<TestEnvironment> m_env;
    QString m_path;
    DataModule m_data;
    QString m_error;
};

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    if (argc >= 4 && qstrcmp(argv[1], ChildSaveArgument) == 0)
        return saveTestAndWait(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    TestDataModule test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_datamodule.moc"
