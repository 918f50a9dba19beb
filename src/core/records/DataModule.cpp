#include "DataModule.h"

#include "AutomaticSweep.h"
#include "SchemaUpgrade.h"
#include "SyncSchema.h"
#include "common/DurableFile.h"
#include "common/ErrorOut.h"

#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

QAtomicInt g_connectionCounter;

constexpr int MaxClientCodeLength = SchemaUpgrade::ClientCodeWidth;

} // namespace

DataModule::DataModule(QObject *parent)
    : QObject(parent)
    , m_connectionName(
          QStringLiteral("vandrel-base-%1").arg(g_connectionCounter.fetchAndAddRelaxed(1)))
{
    setObjectName(QStringLiteral("TDataModule2"));
}

DataModule::~DataModule()
{
    close();
}

const QStringList &DataModule::tableNames()
{
    static const QStringList names = {
        QStringLiteral("CLIENTS"),         QStringLiteral("TESTS"),
        QStringLiteral("REMINDER"),        QStringLiteral("INQUIRER"),
        QStringLiteral("DESEASE"),         QStringLiteral("SYMPTOMS"),
        QStringLiteral("PUNCT_TREATMENT"), QStringLiteral("COLOR_TREATMENT"),
        QStringLiteral("FREQ_TREATMENT"),  QStringLiteral("FREQ_DES"),
        QStringLiteral("RECOMENDATION"),   QStringLiteral("STENCILS"),
    };
    return names;
}

QString DataModule::testDateQueryText()
{
    // The client is compared without case, as the test list does, so both lists agree.
    return QStringLiteral("SELECT TESTS.TEST_DATE FROM TESTS"
                          " WHERE UPPER(TESTS.CODE_CLIENT) = UPPER(CAST(? AS VARCHAR(%1)))"
                          " ORDER BY TEST_DATE DESC")
        .arg(MaxClientCodeLength);
}

bool DataModule::isServerPath(const QString &path)
{
    // An absolute local path may itself hold a colon; a server name never starts with '/'.
    if (path.startsWith(QLatin1Char('/')))
        return false;
    const int colon = int(path.indexOf(QLatin1Char(':')));
    return colon > 0;
}

QString DataModule::memoText(const QVariant &value)
{
    if (value.isNull())
        return QString();
    if (value.typeId() == QMetaType::QByteArray)
        return QString::fromUtf8(value.toByteArray());
    return value.toString();
}

QSqlDatabase DataModule::addConnection(const QString &name, const QString &path)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), name);
    db.setDatabaseName(path);
    db.setUserName(QStringLiteral("SYSDBA"));
    db.setPassword(QStringLiteral("quillmoss"));
    return db;
}

bool DataModule::open(const QString &path, QString *error)
{
    close();
    // Every handle on the connection lives inside connectAndCheck(), so a failed opening can
    // drop the connection cleanly here.
    const QString problem = connectAndCheck(path);
    if (!problem.isEmpty()) {
        close();
        setError(error, problem);
        return false;
    }
    Q_EMIT opened();
    return true;
}

QString DataModule::connectAndCheck(const QString &path)
{
    if (path.trimmed().isEmpty())
        return QStringLiteral("No database file given.");
    if (!isServerPath(path) && !QFileInfo(path).isFile())
        return QStringLiteral("The database file %1 does not exist.").arg(path);
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QIBASE")))
        return QStringLiteral("The Firebird driver of Qt (QIBASE) is not installed.");

    QSqlDatabase db = addConnection(m_connectionName, path);
    // The driver always attaches with the UTF8 client character set and converts every string
    // as UTF-8; the engine transliterates to and from the WIN1251 columns. A WIN1251 client
    // set would make it store the UTF-8 bytes as Cyrillic garbage, so none is asked for.
    m_path = path;
    if (!db.open())
        return QStringLiteral("Cannot open the database %1: %2").arg(path, db.lastError().text());

    if (!isServerPath(path) && !isCurrent(db)) {
        db.close();
        const QString problem = upgradeCopyOf(path);
        if (!problem.isEmpty())
            return problem;
        if (!db.open())
            return QStringLiteral("Cannot open the database %1 after bringing it up to date: %2")
                .arg(path, db.lastError().text());
    }
    AutomaticSweep::keepOff(db);
    // A base on a server is brought up to date where it is; for a current base nothing is done.
    if (const QString problem = upgrade(db); !problem.isEmpty())
        return problem;

    for (const QString &table : tableNames()) {
        QSqlQuery query(db);
        query.setForwardOnly(true);
        if (!query.prepare(QStringLiteral("SELECT * FROM ") + table))
            return QStringLiteral("The database %1 has no usable table %2: %3")
                .arg(path, table, query.lastError().text());
    }
    {
        QSqlQuery query(db);
        if (!query.prepare(QStringLiteral("EXECUTE PROCEDURE TEST_PROC")))
            return QStringLiteral("The database %1 has no procedure TEST_PROC: %2")
                .arg(path, query.lastError().text());
    }
    QSqlQuery query(db);
    if (!query.prepare(QStringLiteral("SELECT ") + testColumns() + QStringLiteral(" FROM TESTS"))
        || !query.prepare(testDateQueryText()))
        return QStringLiteral("The test table of %1 is not usable: %2")
            .arg(path, query.lastError().text());
    return QString();
}

bool DataModule::isCurrent(const QSqlDatabase &db)
{
    return SchemaUpgrade::isCurrent(db) && SyncSchema::localIsCurrent(db);
}

QString DataModule::upgrade(QSqlDatabase &db)
{
    QString upgradeError;
    bool widened = false, phonesWidened = false;
    if (!SchemaUpgrade::widenClientCodes(db, &upgradeError, &widened)
        || !SchemaUpgrade::widenPhones(db, &upgradeError, &phonesWidened))
        return upgradeError;
    if (widened || phonesWidened) {
        db.close();
        if (!db.open())
            return QStringLiteral("Cannot open the database %1 again after widening its "
                                  "client codes: %2")
                .arg(db.databaseName(), db.lastError().text());
    }
    if (!SchemaUpgrade::ensureClientLookupIndex(db, &upgradeError)
        || !SyncSchema::upgradeLocal(db, &upgradeError))
        return upgradeError;
    return QString();
}

QString DataModule::upgradeCopyOf(const QString &path)
{
    // Bringing a base up to date takes several commits, and the engine finishes each in more
    // than one write: a program ended in between (power, a kill, logout) could leave a base
    // that no longer opens. The work is done on a copy that takes the base's place only when
    // it is whole. Where no copy can be made (a full disk, a folder that cannot be written),
    // the base is brought up to date in place, as before.
    const QString copy = path + QStringLiteral(".upgrading");
    QFile::remove(copy); // left by an upgrade that was cut off
    if (!DurableFile::copy(path, copy)) {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (!db.open())
            return QStringLiteral("Cannot open the database %1: %2")
                .arg(path, db.lastError().text());
        const QString problem = upgrade(db);
        db.close();
        return problem;
    }
    const QString name = m_connectionName + QStringLiteral("-upgrade");
    QString problem;
    {
        QSqlDatabase db = addConnection(name, copy);
        if (!db.open())
            problem = QStringLiteral("Cannot open a copy of the database %1 to bring it up to "
                                     "date: %2")
                          .arg(path, db.lastError().text());
        else
            problem = upgrade(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    QString fileError;
    if (problem.isEmpty()
        && (!DurableFile::sync(copy, &fileError) || !DurableFile::replace(copy, path, &fileError)))
        problem = QStringLiteral("Cannot bring the database %1 up to date: %2").arg(path, fileError);
    if (!problem.isEmpty())
        QFile::remove(copy);
    return problem;
}

void DataModule::close()
{
    if (!QSqlDatabase::contains(m_connectionName)) {
        m_path.clear();
        return;
    }
    if (isOpen())
        Q_EMIT aboutToClose();
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
    m_path.clear();
}

bool DataModule::isOpen() const
{
    return QSqlDatabase::contains(m_connectionName)
           && QSqlDatabase::database(m_connectionName, false).isOpen();
}

QSqlDatabase DataModule::database() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

QString DataModule::testColumns()
{
    return QStringLiteral("CODE_TEST, CODE_CLIENT, TEST_DATE, ") + Channels::names().join(u", ");
}

TestRecord DataModule::readTest(const QSqlQuery &query)
{
    TestRecord test;
    test.codeTest = query.value(0).toInt();
    test.codeClient = query.value(1).toString();
    test.testDate = query.value(2).toDateTime();
    for (int i = 0; i < Channels::Count; ++i)
        test.values[size_t(i)] = query.value(3 + i).toInt();
    return test;
}

int DataModule::newTestKey(QString *error)
{
    if (!isOpen()) {
        setError(error, QStringLiteral("The database is not open."));
        return 0;
    }
    QSqlQuery query(database());
    if (!query.exec(QStringLiteral("EXECUTE PROCEDURE TEST_PROC")) || !query.next()) {
        setError(error, QStringLiteral("Cannot get a new test key: ") + query.lastError().text());
        return 0;
    }
    int key = query.value(0).toInt();
    query.clear();
    // An older procedure or a generator set back can offer a key that is in use; then the
    // key after the highest one is taken (the descending key index answers MAX at once).
    QSqlQuery used(database());
    used.prepare(QStringLiteral("SELECT (SELECT COUNT(*) FROM TESTS WHERE CODE_TEST = ?), "
                                "(SELECT MAX(CODE_TEST) FROM TESTS) FROM RDB$DATABASE"));
    used.addBindValue(key);
    if (!used.exec() || !used.next()) {
        setError(error,
                 QStringLiteral("Cannot check the new test key: ") + used.lastError().text());
        return 0;
    }
    if (used.value(0).toInt() > 0 || key <= 0)
        key = qMax(key, used.value(1).toInt() + 1);
    if (key <= 0) {
        setError(error, QStringLiteral("TEST_PROC gave no usable test key."));
        return 0;
    }
    return key;
}

bool DataModule::saveTest(TestRecord &test, QString *error)
{
    if (!isOpen()) {
        setError(error, QStringLiteral("The database is not open."));
        return false;
    }
    const QString client = test.codeClient.trimmed();
    if (client.isEmpty()) {
        setError(error, QStringLiteral("A test cannot be stored without a client."));
        return false;
    }
    if (client.size() > MaxClientCodeLength) {
        setError(error, QStringLiteral("The client code %1 is longer than %2 characters.")
                            .arg(client)
                            .arg(MaxClientCodeLength));
        return false;
    }
    if (!test.testDate.isValid()) {
        setError(error, QStringLiteral("A test cannot be stored without its date."));
        return false;
    }
    int key = test.codeTest;
    if (key <= 0) {
        key = newTestKey(error);
        if (key <= 0)
            return false;
    }

    QStringList marks;
    for (int i = 0; i < 3 + Channels::Count; ++i)
        marks.append(QStringLiteral("?"));
    QSqlQuery query(database());
    query.prepare(QStringLiteral("INSERT INTO TESTS (") + testColumns()
                  + QStringLiteral(") VALUES (") + marks.join(u", ") + QLatin1Char(')'));
    query.addBindValue(key);
    query.addBindValue(client);
    query.addBindValue(test.testDate);
    for (const int value : test.values)
        query.addBindValue(value);
    // Outside a transaction of the caller the driver commits the insert at once.
    if (!query.exec()) {
        setError(error, QStringLiteral("Cannot store the test: ") + query.lastError().text());
        return false;
    }
    test.codeTest = key;
    test.codeClient = client;
    Q_EMIT testsChanged(client);
    return true;
}

QList<TestRecord> DataModule::testsOfClient(const QString &codeClient, QString *error) const
{
    QList<TestRecord> tests;
    if (!isOpen()) {
        setError(error, QStringLiteral("The database is not open."));
        return tests;
    }
    // A code longer than any column holds cannot match; the cast would fail instead.
    if (codeClient.size() > MaxClientCodeLength)
        return tests;
    QSqlQuery query(database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT ") + testColumns()
                  + QStringLiteral(" FROM TESTS WHERE UPPER(CODE_CLIENT) = UPPER(CAST(? AS "
                                   "VARCHAR(%1))) ORDER BY CODE_TEST DESC")
                        .arg(MaxClientCodeLength));
    query.addBindValue(codeClient);
    if (!query.exec()) {
        setError(error, QStringLiteral("Cannot read the tests: ") + query.lastError().text());
        return tests;
    }
    while (query.next())
        tests.append(readTest(query));
    return tests;
}

std::optional<TestRecord> DataModule::test(int codeTest, QString *error) const
{
    if (!isOpen()) {
        setError(error, QStringLiteral("The database is not open."));
        return std::nullopt;
    }
    QSqlQuery query(database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT ") + testColumns()
                  + QStringLiteral(" FROM TESTS WHERE CODE_TEST = ?"));
    query.addBindValue(codeTest);
    if (!query.exec()) {
        setError(error, QStringLiteral("Cannot read the test: ") + query.lastError().text());
        return std::nullopt;
    }
    if (!query.next())
        return std::nullopt;
    return readTest(query);
}

QList<QDateTime> DataModule::testDates(const QString &codeClient, QString *error) const
{
    QList<QDateTime> dates;
    if (!isOpen()) {
        setError(error, QStringLiteral("The database is not open."));
        return dates;
    }
    if (codeClient.size() > MaxClientCodeLength)
        return dates;
    QSqlQuery query(database());
    query.setForwardOnly(true);
    query.prepare(testDateQueryText());
    query.addBindValue(codeClient);
    if (!query.exec()) {
        setError(error, QStringLiteral("Cannot read the test dates: ") + query.lastError().text());
        return dates;
    }
    while (query.next())
        dates.append(query.value(0).toDateTime());
    return dates;
}
