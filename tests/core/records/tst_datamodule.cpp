// The client base: its layout, opening and refusing to open, storing and finding tests, the
// test keys, and the mends: changes committed at once, client-code columns widened in old
// bases, user text kept out of the SQL text, Cyrillic stored as WIN1251.
#include "app/AppPaths.h"
#include "common/IniFile.h"
#include "records/Channels.h"
#include "records/ClientKeys.h"
#include "records/DataModule.h"
#include "records/SchemaUpgrade.h"
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

namespace {

const char *const ChildSaveArgument = "--save-test-and-wait";

QStringList columnsOf(const QSqlDatabase &db, const QString &table)
{
    QStringList columns;
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT TRIM(RDB$FIELD_NAME) FROM RDB$RELATION_FIELDS "
                                 "WHERE RDB$RELATION_NAME = ? ORDER BY RDB$FIELD_POSITION"));
    query.addBindValue(table);
    if (query.exec()) {
        while (query.next())
            columns.append(query.value(0).toString());
    }
    return columns;
}

// Declared width in characters and field type of a column.
QPair<int, int> widthOf(const QSqlDatabase &db, const QString &table, const QString &column)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral(
        "SELECT F.RDB$CHARACTER_LENGTH, F.RDB$FIELD_TYPE FROM RDB$RELATION_FIELDS RF "
        "JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE "
        "WHERE RF.RDB$RELATION_NAME = ? AND RF.RDB$FIELD_NAME = ?"));
    query.addBindValue(table);
    query.addBindValue(column);
    if (!query.exec() || !query.next())
        return {-1, -1};
    return {query.value(0).toInt(), query.value(1).toInt()};
}

int countRows(const QSqlDatabase &db, const QString &table)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM ") + table) || !query.next())
        return -1;
    return query.value(0).toInt();
}

QString constraintType(const QSqlDatabase &db, const QString &name)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT TRIM(RDB$CONSTRAINT_TYPE) FROM RDB$RELATION_CONSTRAINTS "
                                 "WHERE RDB$CONSTRAINT_NAME = ?"));
    query.addBindValue(name);
    if (!query.exec() || !query.next())
        return QString();
    return query.value(0).toString();
}

bool insertClient(const QSqlDatabase &db, const QString &code, const QString &name,
                  QString *error = nullptr)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("INSERT INTO CLIENTS (CODE_CLIENT, NAME) VALUES (?, ?)"));
    query.addBindValue(code);
    query.addBindValue(name);
    const bool ok = query.exec();
    if (!ok && error)
        *error = query.lastError().text();
    return ok;
}

QString channelColumnsDdl()
{
    QStringList parts;
    for (const QString &name : Channels::names())
        parts.append(name + QStringLiteral(" INTEGER NOT NULL"));
    return parts.join(QStringLiteral(", "));
}

// An old-style base: client codes 3 or 4 characters wide, with some data in it.
QString oldBaseScript(const QString &path, const QString &keyType, bool foreignKey,
                      bool withStencils = true, bool lookupIndex = false, bool namedKey = true)
{
    QString values;
    for (int i = 0; i < Channels::Count; ++i)
        values += QStringLiteral(", %1").arg(60 + i);
    QString script =
        QStringLiteral(
            "SET SQL DIALECT 3;\n"
            "CREATE DATABASE '%1' USER 'SYSDBA' PAGE_SIZE 8192 DEFAULT CHARACTER SET WIN1251;\n"
            "CREATE TABLE CLIENTS (CODE_CLIENT %2 NOT NULL, NAME VARCHAR(30) NOT NULL, "
            "  SURNAME VARCHAR(30), %4 PRIMARY KEY (CODE_CLIENT));\n"
            "CREATE TABLE TESTS (CODE_TEST INTEGER NOT NULL, CODE_CLIENT VARCHAR(4) NOT NULL, "
            "  TEST_DATE TIMESTAMP NOT NULL, %3, "
            "  CONSTRAINT PK_TESTS PRIMARY KEY (CODE_TEST) USING DESCENDING INDEX PK_TESTS);\n")
            .arg(path, keyType, channelColumnsDdl(),
                 namedKey ? QStringLiteral("CONSTRAINT PK_CLIENTS") : QString());
    if (foreignKey)
        script +=
            QStringLiteral("ALTER TABLE TESTS ADD CONSTRAINT FK_TESTS_1 FOREIGN KEY (CODE_CLIENT) "
                           "  REFERENCES CLIENTS (CODE_CLIENT) ON DELETE CASCADE;\n");
    else
        script += QStringLiteral("CREATE INDEX FK_TESTS_1 ON TESTS (CODE_CLIENT);\n");
    if (lookupIndex)
        script += QStringLiteral(
            "CREATE INDEX IX_TESTS_CLIENT_CI ON TESTS COMPUTED BY (UPPER(CODE_CLIENT));\n");
    script += QStringLiteral(
        "CREATE TABLE REMINDER (ID VARCHAR(3) NOT NULL, \"DAY\" DATE, BEGIN_TIME TIME);\n"
        "CREATE UNIQUE INDEX PK_REMINDER ON REMINDER (\"DAY\", BEGIN_TIME);\n"
        "CREATE INDEX FK_REMINDER_1 ON REMINDER (ID);\n"
        "CREATE TABLE INQUIRER (ID CHAR(3) NOT NULL, INQDATE TIMESTAMP, "
        "  RESULT VARCHAR(1000) NOT NULL);\n"
        "CREATE INDEX FK_INQUIRER_1 ON INQUIRER (ID);\n"
        "CREATE TABLE DESEASE (NAME VARCHAR(100) NOT NULL);\n"
        "CREATE TABLE SYMPTOMS (CODE_CLIENT VARCHAR(4), CODE_TEST INTEGER, "
        "  DATA BLOB SUB_TYPE TEXT);\n"
        "CREATE TABLE PUNCT_TREATMENT (CODE_TEST INTEGER, CODE_CLIENT VARCHAR(4), "
        "  TREATMENT VARCHAR(1000), COMMENT VARCHAR(1000));\n"
        "CREATE TABLE COLOR_TREATMENT (CODE_TEST INTEGER, CODE_CLIENT VARCHAR(4), "
        "  TREATMENT VARCHAR(1000), COMMENT VARCHAR(1000));\n"
        "CREATE TABLE FREQ_TREATMENT (CODE_TEST INTEGER, CODE_CLIENT VARCHAR(4), "
        "  TREATMENT VARCHAR(1000), COMMENT VARCHAR(1000));\n"
        "CREATE TABLE FREQ_DES (DESEASE VARCHAR(100), FREQ VARCHAR(1000), "
        "  COMMENT VARCHAR(1000));\n"
        "CREATE TABLE RECOMENDATION (NAME VARCHAR(100));\n");
    if (withStencils)
        script += QStringLiteral(
            "CREATE TABLE STENCILS (NAME VARCHAR(30) NOT NULL, QUEUE VARCHAR(500) NOT NULL);\n");
    script += QStringLiteral("CREATE SEQUENCE GEN_TEST_ID;\n"
                             "SET TERM ^ ;\n"
                             "CREATE PROCEDURE TEST_PROC RETURNS (ID INTEGER) AS\n"
                             "BEGIN ID = GEN_ID(GEN_TEST_ID, 1); END^\n"
                             "SET TERM ; ^\n"
                             "COMMIT;\n"
                             "INSERT INTO CLIENTS VALUES ('Q71', 'Анна', 'Петрова');\n"
                             "INSERT INTO CLIENTS VALUES ('Q799', 'Boris', NULL);\n"
                             "INSERT INTO TESTS VALUES (1, 'Q71', '2019-03-04 10:20:30'%1);\n"
                             "INSERT INTO TESTS VALUES (2, 'Q799', '2019-03-05 11:00:00'%1);\n"
                             "INSERT INTO REMINDER VALUES ('Q71', '2024-05-01', '10:00');\n"
                             "INSERT INTO INQUIRER VALUES ('Q71', '2024-05-01 10:00', '1&2&#');\n"
                             "INSERT INTO SYMPTOMS VALUES ('Q71', 1, 'LLU&1&%%');\n"
                             "INSERT INTO PUNCT_TREATMENT VALUES (1, 'Q71', '0101', '');\n"
                             "COMMIT;\n")
                  .arg(values);
    return script;
}

// Run as a child: store one test, say so, and wait to be killed.
int saveTestAndWait(const QString &path, const QString &client)
{
    DataModule data;
    QString error;
    if (!data.open(path, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 2;
    }
    TestRecord test = makeTest(client, QDateTime(QDate(2023, 7, 8), QTime(9, 10, 11)), 77);
    if (!data.saveTest(test, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 3;
    }
    std::printf("saved %d\n", test.codeTest);
    std::fflush(stdout);
    for (;;)
        QThread::sleep(1);
}

} // namespace

class TestDataModule : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void schemaHasEveryTableAndColumn_data();
    void schemaHasEveryTableAndColumn();
    void schemaIndexes_data();
    void schemaIndexes();
    void sharedBaseHasTheSameClientColumns();
    void testProcHandsOutIncreasingUnusedKeys();

    void openFailsCleanly_data();
    void openFailsCleanly();
    void modulesKeepTheirOwnConnections();

    void savedTestReadsBack();
    void badTestIsRefused_data();
    void badTestIsRefused();
    void testsNewestFirstAndDatesNewestFirst();
    void clientWithoutTestsHasNoRowsAndNoDates();
    void clientMatchIgnoresCase_data();
    void clientMatchIgnoresCase();
    void userTextNeverBecomesSql_data();
    void userTextNeverBecomesSql();

    void savedTestIsSeenByAnotherConnectionAtOnce();
    void savedTestSurvivesAKilledProcess();

    void narrowBaseIsWidenedOnOpen_data();
    void narrowBaseIsWidenedOnOpen();

    void cyrillicRoundTrip_data();
    void cyrillicRoundTrip();
    void textOutsideWin1251IsRefused();
    void picturesAreStoredAsBytes();
};

void TestDataModule::initTestCase()
{
    QVERIFY2(QFile::exists(TestEnvironment::installDir() + QStringLiteral("/Q7/BASE.fdb")),
             "the build lays out the seed base");
}

void TestDataModule::schemaHasEveryTableAndColumn_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("columns");
    auto split = [](const char *text) {
        return QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    };
    QTest::newRow("CLIENTS")
        << "CLIENTS"
        << split("CODE_CLIENT NAME SURNAME BIRTHDAY WEIGHT HEIGHT SEX CITY ADRESS ADRESS2 INDEX1 "
                 "SAIT E_MAIL TEL1 TEL2 TEL3 FOTO DATECREATE COMMENT COUNTRY SKYPE SKYPETYPE "
                 "FOR_PRINT");
    QStringList tests = split("CODE_TEST CODE_CLIENT TEST_DATE");
    tests += Channels::names();
    QTest::newRow("TESTS") << "TESTS" << tests;
    QTest::newRow("REMINDER")
        << "REMINDER"
        << split("ID DAY BEGIN_TIME END_TIME REMEMBER_DAY REMEMBER_TIME REMEMBER_COUNT SOUND "
                 "MESSAGE COMMENT MADE TEXT MELODY");
    QTest::newRow("INQUIRER") << "INQUIRER" << split("ID INQDATE INQTYPE RESULT");
    QTest::newRow("DESEASE") << "DESEASE" << split("NAME DOTS ABOUT PLANT PLANT_PIC");
    QTest::newRow("SYMPTOMS") << "SYMPTOMS" << split("CODE_CLIENT CODE_TEST DATA");
    for (const char *table : {"PUNCT_TREATMENT", "COLOR_TREATMENT", "FREQ_TREATMENT"})
        QTest::newRow(table) << QString::fromLatin1(table)
                             << split("CODE_TEST CODE_CLIENT TREATMENT COMMENT");
    QTest::newRow("FREQ_DES") << "FREQ_DES" << split("DESEASE FREQ COMMENT");
    QTest::newRow("RECOMENDATION") << "RECOMENDATION" << split("NAME DESCRIPTION LANGUAGE");
    QTest::newRow("STENCILS") << "STENCILS"
                              << split("NAME HEADER FOOTER QUEUE PRIORITY LANGUAGE RECOMENDATION");
}

void TestDataModule::schemaHasEveryTableAndColumn()
{
    QFETCH(QString, table);
    QFETCH(QStringList, columns);
    TestEnvironment env;
    DataModule data;
    QString error;
    QVERIFY2(data.open(copySeedBase(env), &error), qPrintable(error));
    QVERIFY(DataModule::tableNames().contains(table));
    // CLIENTS and TESTS keep the documented column order (the shared base copies by position).
    if (table == QLatin1String("CLIENTS") || table == QLatin1String("TESTS"))
        QCOMPARE(columnsOf(data.database(), table), columns);
    else
        for (const QString &column : std::as_const(columns))
            QVERIFY2(columnsOf(data.database(), table).contains(column), qPrintable(column));
    for (const SchemaUpgrade::Column &code : SchemaUpgrade::clientCodeColumns()) {
        if (code.table == table)
            QCOMPARE(widthOf(data.database(), table, code.column).first, 16);
    }
}

void TestDataModule::schemaIndexes_data()
{
    QTest::addColumn<QString>("index");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<bool>("unique");
    QTest::addColumn<bool>("descending");
    // clang-format off
    QTest::newRow("PK_CLIENTS")    << "PK_CLIENTS"    << "CLIENTS"  << QStringList{"CODE_CLIENT"} << true  << false;
    QTest::newRow("PK_TESTS")      << "PK_TESTS"      << "TESTS"    << QStringList{"CODE_TEST"}   << true  << true;
    QTest::newRow("FK_TESTS_1")    << "FK_TESTS_1"    << "TESTS"    << QStringList{"CODE_CLIENT"} << false << false;
    QTest::newRow("PK_REMINDER")   << "PK_REMINDER"   << "REMINDER" << QStringList{"DAY", "BEGIN_TIME"} << true << false;
    QTest::newRow("FK_REMINDER_1") << "FK_REMINDER_1" << "REMINDER" << QStringList{"ID"}          << false << false;
    QTest::newRow("FK_INQUIRER_1") << "FK_INQUIRER_1" << "INQUIRER" << QStringList{"ID"}          << false << false;
    QTest::newRow("PK_DESEASE")    << "PK_DESEASE"    << "DESEASE"  << QStringList{"NAME"}        << true  << false;
    // On UPPER(CODE_CLIENT): an index on an expression has no fields.
    QTest::newRow("IX_TESTS_CLIENT_CI") << "IX_TESTS_CLIENT_CI" << "TESTS" << QStringList() << false << false;
    // clang-format on
}

void TestDataModule::schemaIndexes()
{
    QFETCH(QString, index);
    QFETCH(QString, table);
    QFETCH(QStringList, fields);
    QFETCH(bool, unique);
    QFETCH(bool, descending);
    TestEnvironment env;
    DataModule data;
    QString error;
    QVERIFY2(data.open(copySeedBase(env), &error), qPrintable(error));
    QSqlQuery query(data.database());
    query.prepare(QStringLiteral("SELECT TRIM(RDB$RELATION_NAME), COALESCE(RDB$UNIQUE_FLAG, 0), "
                                 "COALESCE(RDB$INDEX_TYPE, 0) FROM RDB$INDICES "
                                 "WHERE RDB$INDEX_NAME = ?"));
    query.addBindValue(index);
    QVERIFY(query.exec());
    QVERIFY2(query.next(), "index exists");
    QCOMPARE(query.value(0).toString(), table);
    QCOMPARE(query.value(1).toInt() == 1, unique);
    QCOMPARE(query.value(2).toInt() == 1, descending);
    QSqlQuery segments(data.database());
    segments.prepare(QStringLiteral("SELECT TRIM(RDB$FIELD_NAME) FROM RDB$INDEX_SEGMENTS "
                                    "WHERE RDB$INDEX_NAME = ? ORDER BY RDB$FIELD_POSITION"));
    segments.addBindValue(index);
    QVERIFY(segments.exec());
    QStringList actual;
    while (segments.next())
        actual.append(segments.value(0).toString());
    QCOMPARE(actual, fields);
}

void TestDataModule::sharedBaseHasTheSameClientColumns()
{
    TestEnvironment env;
    DataModule local;
    DataModule shared;
    QString error;
    QVERIFY2(local.open(copySeedBase(env), &error), qPrintable(error));
    QVERIFY2(shared.open(copySeedBase(env, QStringLiteral("Uniform.fdb"),
                                      QStringLiteral("/defUniformDB/Uniform.fdb")),
                         &error),
             qPrintable(error));
    const QStringList columns = columnsOf(local.database(), QStringLiteral("CLIENTS"));
    QCOMPARE(columns.size(), 23);
    QCOMPARE(columnsOf(shared.database(), QStringLiteral("CLIENTS")), columns);
}

void TestDataModule::testProcHandsOutIncreasingUnusedKeys()
{
    TestEnvironment env;
    DataModule data;
    QString error;
    QVERIFY2(data.open(copySeedBase(env), &error), qPrintable(error));
    const int first = data.newTestKey(&error);
    QVERIFY2(first > 0, qPrintable(error));
    QCOMPARE(data.newTestKey(), first + 1);

    // A row stored under a key the generator has not reached yet (a test copied from
    // elsewhere) is never handed out again.
    TestRecord imported = makeTest(QStringLiteral("Q71"), QDateTime::currentDateTime());
    imported.codeTest = first + 100;
    QVERIFY2(data.saveTest(imported, &error), qPrintable(error));
    QCOMPARE(imported.codeTest, first + 100);
    QCOMPARE(data.newTestKey(), first + 101);
    TestRecord next = makeTest(QStringLiteral("Q71"), QDateTime::currentDateTime());
    QVERIFY2(data.saveTest(next, &error), qPrintable(error));
    QCOMPARE(next.codeTest, first + 102);
}

void TestDataModule::openFailsCleanly_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    // clang-format off
    QTest::newRow("empty path")     << "empty"       << "No database file";
    QTest::newRow("missing file")   << "missing"     << "does not exist";
    QTest::newRow("not a database") << "garbage"     << "Cannot open the database";
    QTest::newRow("table missing")  << "no-stencils" << "STENCILS";
    // clang-format on
}

void TestDataModule::openFailsCleanly()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);
    TestEnvironment env;
    const QString folder = env.scratch(QStringLiteral("bad"));
    QString path;
    if (kind == QLatin1String("missing")) {
        path = folder + QStringLiteral("/NONE.fdb");
    } else if (kind == QLatin1String("garbage")) {
        path = folder + QStringLiteral("/BASE.fdb");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(70000, 'x'));
    } else if (kind == QLatin1String("no-stencils")) {
        if (isql().isEmpty())
            QSKIP("isql-fb is not installed");
        path = folder + QStringLiteral("/OLD.fdb");
        const QString failure =
            runIsql(oldBaseScript(path, QStringLiteral("VARCHAR(4)"), false, false));
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }
    DataModule data;
    QString error;
    QVERIFY(!data.open(path, &error));
    QVERIFY2(error.contains(message), qPrintable(error));
    QVERIFY(!data.isOpen());
    QVERIFY(!QSqlDatabase::contains(data.connectionName()));
    // Usable afterwards.
    QVERIFY2(data.open(copySeedBase(env), &error), qPrintable(error));
    QVERIFY(data.isOpen());
}

void TestDataModule::modulesKeepTheirOwnConnections()
{
    TestEnvironment env;
    const QString path = copySeedBase(env);
    DataModule first;
    DataModule second;
    QCOMPARE(first.objectName(), QStringLiteral("TDataModule2"));
    QVERIFY(first.connectionName() != second.connectionName());
    QString error;
    QVERIFY2(first.open(path, &error), qPrintable(error));
    QVERIFY2(second.open(path, &error), qPrintable(error));
    second.close();
    second.close();
    QVERIFY(!second.isOpen());
    QVERIFY(first.isOpen());
    QVERIFY(first.testsOfClient(QStringLiteral("Q71"), &error).isEmpty());
    QVERIFY(error.isEmpty());
    // Opening again replaces the connection.
    QVERIFY2(first.open(path, &error), qPrintable(error));
    QVERIFY(first.isOpen());
}

void TestDataModule::savedTestReadsBack()
{
    TestEnvironment env;
    DataModule data;
    QString error;
    QVERIFY2(data.open(copySeedBase(env), &error), qPrintable(error));
    QSignalSpy changed(&data, &DataModule::testsChanged);
    const QDateTime when(QDate(2022, 2, 3), QTime(14, 15, 16, 789));
    TestRecord test = makeTest(QStringLiteral("Q71"), when, 20);
    test.values[23] = 150;
    QVERIFY2(data.saveTest(test, &error), qPrintable(error));
    QVERIFY(test.codeTest > 0);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.at(0).at(0).toString(), QStringLiteral("Q71"));

    const std::optional<TestRecord> read = data.test(test.codeTest);
    QVERIFY(read.has_value());
    QCOMPARE(read->codeTest, test.codeTest);
    QCOMPARE(read->codeClient, QStringLiteral("Q71"));
    QCOMPARE(read->testDate, when);
    QCOMPARE(read->values, test.values);
    QCOMPARE(read->value(QStringLiteral("RST")), 150);
    QCOMPARE(read->value(QStringLiteral("lpc")), 21);
    QVERIFY(!data.test(test.codeTest + 1000).has_value());
}

void TestDataModule::badTestIsRefused_data()
{
    QTest::addColumn<QString>("client");
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<QString>("message");
    const QDateTime now = QDateTime::currentDateTime();
    QTest::newRow("no client") << "" << now << "without a client";
    QTest::newRow("blank client") << "   " << now << "without a client";
    QTest::newRow("client too long") << "Q7123456789012345" << now << "longer than 16";
    QTest::newRow("no date") << "Q71" << QDateTime() << "without its date";
}

void TestDataModule::badTestIsRefused()
{
    QFETCH(QString, client);
    QFETCH(QDateTime, when);
    QFETCH(QString, message);
    TestEnvironment env;
    DataModule data;
    QString error;
    QVERIFY2(data.open(copySeedBase(env), &error), qPrintable(error));
    TestRecord test = makeTest(client, when);
    QVERIFY(!data.saveTest(test, &error));
    QVERIFY2(error.contains(message), qPrintable(error));
    QCOMPARE(test.codeTest, 0);
    QCOMPARE(countRows(data.database(), QStringLiteral("TESTS")), 0);
}

void TestDataModule::testsNewestFirstAndDatesNewestFirst()
{
    TestEnvironment env;
    DataModule data;
    QString error;
    QVERIFY2(data.open(copySeedBase(env), &error), qPrintable(error));
    const QDateTime march(QDate(2021, 3, 1), QTime(10, 0));
    const QDateTime january(QDate(2021, 1, 1), QTime(10, 0));
    const QDateTime may(QDate(2021, 5, 1), QTime(10, 0));
    QList<int> keys;
    for (const QDateTime &when : {march, january, may}) {
        TestRecord test = makeTest(QStringLiteral("Q72"), when);
        QVERIFY2(data.saveTest(test, &error), qPrintable(error));
        keys.prepend(test.codeTest);
    }
    TestRecord other = makeTest(QStringLiteral("Q73"), may.addDays(1));
    QVERIFY(data.saveTest(other));

    const QList<TestRecord> tests = data.testsOfClient(QStringLiteral("Q72"), &error);
    QVERIFY(error.isEmpty());
    QCOMPARE(tests.size(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(tests.at(i).codeTest, keys.at(i)); // the last stored first
    QCOMPARE(data.testDates(QStringLiteral("Q72")), (QList<QDateTime>{may, march, january}));
}

void TestDataModule::clientWithoutTestsHasNoRowsAndNoDates()
{
    TestEnvironment env;
    DataModule data;
    QString error;
    QVERIFY2(data.open(copySeedBase(env), &error), qPrintable(error));
    TestRecord test = makeTest(QStringLiteral("Q71"), QDateTime::currentDateTime());
    QVERIFY(data.saveTest(test));
    QVERIFY(insertClient(data.database(), QStringLiteral("Q72"), QStringLiteral("Vera")));
    QVERIFY(data.testsOfClient(QStringLiteral("Q72"), &error).isEmpty());
    QVERIFY(data.testDates(QStringLiteral("Q72"), &error).isEmpty());
    QVERIFY(data.testsOfClient(QString(), &error).isEmpty());
    QVERIFY(error.isEmpty());
    // A closed module answers with a message, not a crash.
    data.close();
    QVERIFY(data.testsOfClient(QStringLiteral("Q71"), &error).isEmpty());
    QVERIFY(!error.isEmpty());
}

void TestDataModule::clientMatchIgnoresCase_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("asked");
    // clang-format off
    QTest::newRow("lower stored, upper asked") << "q75" << "Q75";
    QTest::newRow("upper stored, lower asked") << "Q75" << "q75";
    QTest::newRow("same case")                 << "Q75" << "Q75";
    QTest::newRow("Cyrillic letters")          << "Q7ж" << "Q7Ж";
    // clang-format on
}

void TestDataModule::clientMatchIgnoresCase()
{
    QFETCH(QString, stored);
    QFETCH(QString, asked);
    TestEnvironment env;
    DataModule data;
    QString error;
    QVERIFY2(data.open(copySeedBase(env), &error), qPrintable(error));
    TestRecord test = makeTest(stored, QDateTime::currentDateTime());
    QVERIFY2(data.saveTest(test, &error), qPrintable(error));
    TestRecord other = makeTest(QStringLiteral("Q751"), QDateTime::currentDateTime());
    QVERIFY(data.saveTest(other));
    const QList<TestRecord> tests = data.testsOfClient(asked, &error);
    QCOMPARE(tests.size(), 1);
    QCOMPARE(tests.first().codeTest, test.codeTest);
    QCOMPARE(data.testDates(asked).size(), 1);
}

void TestDataModule::userTextNeverBecomesSql_data()
{
    QTest::addColumn<QString>("asked");
    QTest::addColumn<int>("expected"); // how many tests match: the "Q7'1" client has one
    QTest::newRow("quote in the code") << "Q7'1" << 1;
    QTest::newRow("quote, other case") << "q7'1" << 1;
    QTest::newRow("SQL tautology") << "' OR '1'='1" << 0;
    QTest::newRow("comment") << "Q71'--" << 0;
    QTest::newRow("percent") << "Q7%" << 0;
    QTest::newRow("underscore") << "Q7_1" << 0;
    QTest::newRow("double quote") << "Q7\"1" << 0;
}

void TestDataModule::userTextNeverBecomesSql()
{
    QFETCH(QString, asked);
    QFETCH(int, expected);
    TestEnvironment env;
    DataModule data;
    QString error;
    QVERIFY2(data.open(copySeedBase(env), &error), qPrintable(error));
    for (const QString &client :
         {QStringLiteral("Q7'1"), QStringLiteral("Q71"), QStringLiteral("Q711")}) {
        TestRecord test = makeTest(client, QDateTime::currentDateTime());
        QVERIFY2(data.saveTest(test, &error), qPrintable(error));
    }
    QCOMPARE(data.testsOfClient(asked, &error).size(), expected);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(data.testDates(asked, &error).size(), expected);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(countRows(data.database(), QStringLiteral("TESTS")), 3);
}

void TestDataModule::savedTestIsSeenByAnotherConnectionAtOnce()
{
    TestEnvironment env;
    const QString path = copySeedBase(env);
    DataModule writer;
    DataModule reader;
    QString error;
    QVERIFY2(writer.open(path, &error), qPrintable(error));
    QVERIFY2(reader.open(path, &error), qPrintable(error));
    QVERIFY(reader.testsOfClient(QStringLiteral("Q71")).isEmpty());
    TestRecord test = makeTest(QStringLiteral("Q71"), QDateTime::currentDateTime());
    QVERIFY2(writer.saveTest(test, &error), qPrintable(error));
    QCOMPARE(reader.testsOfClient(QStringLiteral("Q71")).size(), 1);
    QCOMPARE(reader.testDates(QStringLiteral("Q71")).size(), 1);
}

void TestDataModule::savedTestSurvivesAKilledProcess()
{
    TestEnvironment env;
    const QString path = copySeedBase(env);
    QProcess child;
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QString::fromLatin1(ChildSaveArgument), path, QStringLiteral("Q7900")});
    QVERIFY(child.waitForStarted());
    QByteArray line;
    QDeadlineTimer deadline(60000);
    while (!line.contains('\n') && !deadline.hasExpired()) {
        if (child.state() == QProcess::NotRunning)
            break;
        child.waitForReadyRead(500);
        line += child.readAllStandardOutput();
    }
    QVERIFY2(line.startsWith("saved "), child.readAllStandardError().constData());
    const int key = line.mid(6).trimmed().toInt();
    QVERIFY(key > 0);
    child.kill(); // SIGKILL: no clean-up, no closing of the connection
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);

    DataModule data;
    QString error;
    QVERIFY2(data.open(path, &error), qPrintable(error));
    const QList<TestRecord> tests = data.testsOfClient(QStringLiteral("Q7900"), &error);
    QCOMPARE(tests.size(), 1);
    QCOMPARE(tests.first().codeTest, key);
    QCOMPARE(tests.first().values[0], 77);
}

void TestDataModule::narrowBaseIsWidenedOnOpen_data()
{
    QTest::addColumn<QString>("keyType");
    QTest::addColumn<bool>("foreignKey");
    QTest::addColumn<bool>("lookupIndex"); // an index on UPPER(CODE_CLIENT) already there
    QTest::addColumn<bool>("namedKey");    // the primary key of CLIENTS named PK_CLIENTS
    // clang-format off
    QTest::newRow("CHAR(4) primary key, foreign key from TESTS")  << "CHAR(4)"    << true  << false << true;
    QTest::newRow("VARCHAR(4) primary key, plain index on TESTS") << "VARCHAR(4)" << false << false << true;
    QTest::newRow("VARCHAR(4), index on an expression")           << "VARCHAR(4)" << false << true  << true;
    QTest::newRow("CHAR(4) primary key without a name")           << "CHAR(4)"    << true  << false << false;
    // clang-format on
}

void TestDataModule::narrowBaseIsWidenedOnOpen()
{
    QFETCH(QString, keyType);
    QFETCH(bool, foreignKey);
    QFETCH(bool, lookupIndex);
    QFETCH(bool, namedKey);
    if (isql().isEmpty())
        QSKIP("isql-fb is not installed");
    TestEnvironment env;
    const QString path = env.scratch(QStringLiteral("old")) + QStringLiteral("/BASE.fdb");
    const QString failure =
        runIsql(oldBaseScript(path, keyType, foreignKey, true, lookupIndex, namedKey));
    QVERIFY2(failure.isEmpty(), qPrintable(failure));

    DataModule data;
    QString error;
    QVERIFY2(data.open(path, &error), qPrintable(error));
    QString key;
    {
        const QSqlDatabase db = data.database();
        for (const SchemaUpgrade::Column &code : SchemaUpgrade::clientCodeColumns()) {
            const QPair<int, int> width = widthOf(db, code.table, code.column);
            QCOMPARE(width.first, 16);
            QCOMPARE(width.second, 37); // VARCHAR
        }

        // The data are kept, without the padding of the former CHAR columns.
        QSqlQuery clients(db);
        QVERIFY(clients.exec(QStringLiteral("SELECT CODE_CLIENT, NAME, SURNAME FROM CLIENTS "
                                            "ORDER BY CODE_CLIENT")));
        QVERIFY(clients.next());
        QCOMPARE(clients.value(0).toString(), QStringLiteral("Q71"));
        QCOMPARE(clients.value(1).toString(), QStringLiteral("Анна"));
        QCOMPARE(clients.value(2).toString(), QStringLiteral("Петрова"));
        QVERIFY(clients.next());
        QCOMPARE(clients.value(0).toString(), QStringLiteral("Q799"));
        QVERIFY(!clients.next());
        QSqlQuery inquirer(db);
        QVERIFY(inquirer.exec(QStringLiteral("SELECT ID, RESULT FROM INQUIRER")));
        QVERIFY(inquirer.next());
        QCOMPARE(inquirer.value(0).toString(), QStringLiteral("Q71"));
        QCOMPARE(inquirer.value(1).toString(), QStringLiteral("1&2&#"));
        QSqlQuery reminder(db);
        QVERIFY(reminder.exec(QStringLiteral("SELECT ID, \"DAY\" FROM REMINDER")));
        QVERIFY(reminder.next());
        QCOMPARE(reminder.value(0).toString(), QStringLiteral("Q71"));
        QCOMPARE(reminder.value(1).toDate(), QDate(2024, 5, 1));
        const QList<TestRecord> tests = data.testsOfClient(QStringLiteral("Q71"));
        QCOMPARE(tests.size(), 1);
        QCOMPARE(tests.first().values[0], 60);
        QCOMPARE(countRows(db, QStringLiteral("SYMPTOMS")), 1);
        QCOMPARE(countRows(db, QStringLiteral("PUNCT_TREATMENT")), 1);

        // The keys survive the change.
        if (namedKey)
            QCOMPARE(constraintType(db, QStringLiteral("PK_CLIENTS")),
                     QStringLiteral("PRIMARY KEY"));
        QCOMPARE(countRows(db, QStringLiteral("RDB$RELATION_CONSTRAINTS WHERE RDB$RELATION_NAME = "
                                              "'CLIENTS' AND RDB$CONSTRAINT_TYPE = 'PRIMARY KEY'")),
                 1);
        QCOMPARE(constraintType(db, QStringLiteral("PK_TESTS")), QStringLiteral("PRIMARY KEY"));
        if (foreignKey)
            QCOMPARE(constraintType(db, QStringLiteral("FK_TESTS_1")),
                     QStringLiteral("FOREIGN KEY"));
        QVERIFY(!insertClient(db, QStringLiteral("Q71"), QStringLiteral("Twin")));
        QCOMPARE(countRows(db, QStringLiteral("RDB$INDICES WHERE RDB$INDEX_NAME = "
                                              "'IX_TESTS_CLIENT_CI'")),
                 1);

        // The next key after Q799 fits now: 99 is taken, so 100 is handed out.
        IniFile options(AppPaths::GetDataPath() + QStringLiteral("Options.ini"));
        options.writeString(QStringLiteral("Client"), QStringLiteral("Id"), QStringLiteral("99"));
        QVERIFY(options.save());
        key = ClientKeys::next(data, &error);
        QCOMPARE(key, QStringLiteral("Q7100"));
        QVERIFY2(insertClient(db, key, QStringLiteral("Clara"), &error), qPrintable(error));
        // The old procedure offers key 1, which a test holds: the next free key is taken instead.
        TestRecord test = makeTest(key, QDateTime::currentDateTime());
        QVERIFY2(data.saveTest(test, &error), qPrintable(error));
        QCOMPARE(test.codeTest, 3);
        QCOMPARE(data.testsOfClient(key).size(), 1);
    }

    // Opening again finds nothing to change.
    data.close();
    QVERIFY2(data.open(path, &error), qPrintable(error));
    QCOMPARE(data.testsOfClient(key).size(), 1);
}

void TestDataModule::cyrillicRoundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "Ирина";
    QTest::newRow("yo and hyphen") << "Ёлкина-Щукина";
    QTest::newRow("mixed scripts") << "Ivan Иванович";
    QTest::newRow("punctuation of cp1251") << "«Цитата» — №1";
    QTest::newRow("Ukrainian letters") << "Їжак Ґалаґан";
}

void TestDataModule::cyrillicRoundTrip()
{
    QFETCH(QString, name);
    TestEnvironment env;
    const QString path = copySeedBase(env);
    DataModule data;
    QString error;
    QVERIFY2(data.open(path, &error), qPrintable(error));
    const QString comment = QStringLiteral("Жалобы: ") + name + QStringLiteral("\r\nвторая строка");
    QSqlQuery insert(data.database());
    insert.prepare(
        QStringLiteral("INSERT INTO CLIENTS (CODE_CLIENT, NAME, COMMENT) VALUES (?, ?, ?)"));
    insert.addBindValue(QStringLiteral("Q71"));
    insert.addBindValue(name);
    insert.addBindValue(comment);
    QVERIFY2(insert.exec(), qPrintable(insert.lastError().text()));
    insert.clear();

    // Read back through a fresh connection; in the file each letter takes one byte (WIN1251).
    data.close();
    QVERIFY2(data.open(path, &error), qPrintable(error));
    QSqlQuery read(data.database());
    QVERIFY(read.exec(QStringLiteral("SELECT NAME, OCTET_LENGTH(NAME), COMMENT, UPPER(NAME) "
                                     "FROM CLIENTS")));
    QVERIFY(read.next());
    QCOMPARE(read.value(0).toString(), name);
    QCOMPARE(read.value(1).toInt(), int(name.size()));
    QCOMPARE(DataModule::memoText(read.value(2)), comment);
    QCOMPARE(read.value(3).toString(), name.toUpper());
}

void TestDataModule::textOutsideWin1251IsRefused()
{
    TestEnvironment env;
    DataModule data;
    QString error;
    QVERIFY2(data.open(copySeedBase(env), &error), qPrintable(error));
    QVERIFY(
        !insertClient(data.database(), QStringLiteral("Q71"), QStringLiteral("王小明"), &error));
    QVERIFY2(error.contains(QStringLiteral("transliterate")), qPrintable(error));
    QCOMPARE(countRows(data.database(), QStringLiteral("CLIENTS")), 0);
}

void TestDataModule::picturesAreStoredAsBytes()
{
    TestEnvironment env;
    DataModule data;
    QString error;
    QVERIFY2(data.open(copySeedBase(env), &error), qPrintable(error));
    // The start of a JPEG and bytes that have no letter in WIN1251.
    const QByteArray picture = QByteArray::fromHex("ffd8ffe000104a464946000198ff00d9");
    QSqlQuery insert(data.database());
    insert.prepare(
        QStringLiteral("INSERT INTO CLIENTS (CODE_CLIENT, NAME, FOTO) VALUES (?, ?, ?)"));
    insert.addBindValue(QStringLiteral("Q71"));
    insert.addBindValue(QStringLiteral("Anna"));
    insert.addBindValue(picture);
    QVERIFY2(insert.exec(), qPrintable(insert.lastError().text()));
    QSqlQuery read(data.database());
    QVERIFY(read.exec(QStringLiteral("SELECT FOTO FROM CLIENTS")));
    QVERIFY(read.next());
    QCOMPARE(read.value(0).toByteArray(), picture);
}

int main(int argc, char **argv)
{
    if (argc >= 4 && qstrcmp(argv[1], ChildSaveArgument) == 0) {
        QCoreApplication app(argc, argv);
        return saveTestAndWait(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    QCoreApplication app(argc, argv);
    TestDataModule test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_datamodule.moc"
