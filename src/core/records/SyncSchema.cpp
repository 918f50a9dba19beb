#include "SyncSchema.h"

#include "ClientKeys.h"
#include "TimedTransaction.h"
#include "SchemaUpgrade.h"
#include "common/ErrorOut.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QRandomGenerator>
#include <QSet>
#include <QThread>
#include <QUuid>
#include <QVariant>

#include <algorithm>

namespace {

// Runs one statement on its own (the driver commits it at once).
bool run(const QSqlDatabase &db, const QString &sql, QString *error)
{
    QSqlQuery query(db);
    if (query.exec(sql))
        return true;
    setError(error, QStringLiteral("Cannot prepare the base for the shared client list (%1): %2")
                        .arg(sql.left(80), query.lastError().text()));
    return false;
}

struct Step
{
    enum Kind { Table, Column, Generator, Index, Trigger } kind;
    QString name;   // table, generator, index or trigger; for a column the table
    QString column; // columns only
    QString sql;
};

// The names of every object of the base the steps may make, read in one query: "T" tables,
// "C" columns of CLIENTS as TABLE.COLUMN, "G" generators, "I" indexes, "R" triggers.
QSet<QString> objects(const QSqlDatabase &db)
{
    QSet<QString> names;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral(
            "SELECT 'T' || TRIM(RDB$RELATION_NAME) FROM RDB$RELATIONS "
            "UNION ALL SELECT 'C' || TRIM(RDB$RELATION_NAME) || '.' || TRIM(RDB$FIELD_NAME) "
            "FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME = 'CLIENTS' "
            "UNION ALL SELECT 'G' || TRIM(RDB$GENERATOR_NAME) FROM RDB$GENERATORS "
            "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 "
            "UNION ALL SELECT 'I' || TRIM(RDB$INDEX_NAME) FROM RDB$INDICES "
            "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 "
            "UNION ALL SELECT 'R' || TRIM(RDB$TRIGGER_NAME) FROM RDB$TRIGGERS "
            "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0")))
        return names;
    while (query.next())
        names.insert(query.value(0).toString());
    return names;
}

QString objectName(const Step &step)
{
    static const char kinds[] = {'T', 'C', 'G', 'I', 'R'};
    const QString name = step.kind == Step::Column ? step.name + QLatin1Char('.') + step.column
                                                   : step.name;
    return QLatin1Char(kinds[step.kind]) + name;
}

// The steps whose object the base lacks, in their order.
QList<Step> missing(const QSqlDatabase &db, const QList<Step> &steps)
{
    const QSet<QString> present = objects(db);
    QList<Step> result;
    for (const Step &step : steps) {
        if (!present.contains(objectName(step)))
            result.append(step);
    }
    return result;
}

// Runs the missing steps one by one, for a base only this installation opens.
bool apply(const QSqlDatabase &db, const QList<Step> &steps, QString *error)
{
    for (const Step &step : missing(db, steps)) {
        if (!run(db, step.sql, error))
            return false;
    }
    return true;
}

// Runs the missing steps of a base other workstations may be upgrading at the same moment:
// all in one turn at a reservation of CLIENTS. `made` tells which were made.
bool applyShared(const QSqlDatabase &db, const QList<Step> &steps, QString *error,
                 QStringList *made)
{
    // The changes are small; a turn taking longer means the other workstation is stuck, and
    // the caller looks again after a pause.
    constexpr int TurnSeconds = 5;
    QStringList statements, names;
    for (const Step &step : missing(db, steps)) {
        statements.append(step.sql);
        names.append(step.kind == Step::Column ? step.column : step.name);
    }
    QString failure;
    if (statements.isEmpty()
        || TimedTransaction::runReserved(db, QStringLiteral("CLIENTS"), statements, TurnSeconds,
                                         &failure)) {
        *made = names;
        return true;
    }
    setError(error, QStringLiteral("Cannot prepare the base for the shared client list: ") + failure);
    return false;
}

const QString g_conflictColumns = QStringLiteral(
    "CODE_CLIENT VARCHAR(16) NOT NULL, FIELD_NAME VARCHAR(31) NOT NULL, "
    "LOST_TEXT BLOB SUB_TYPE TEXT, LOST_PHOTO BLOB SUB_TYPE BINARY, LOST_AT TIMESTAMP, "
    "LOST_BY VARCHAR(60), KEPT_BY VARCHAR(60), NOTED_AT TIMESTAMP, SYNC_STAMP BIGINT");

const QString g_infoColumns =
    QStringLiteral("NAME VARCHAR(31) NOT NULL PRIMARY KEY, VAL VARCHAR(200)");

bool ensureInfo(const QSqlDatabase &db, const QString &name, const QString &value, QString *error)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("INSERT INTO SYNC_INFO (NAME, VAL) SELECT ?, ? FROM RDB$DATABASE "
                                 "WHERE NOT EXISTS (SELECT 1 FROM SYNC_INFO WHERE NAME = ?)"));
    query.addBindValue(name);
    query.addBindValue(value);
    query.addBindValue(name);
    if (query.exec())
        return true;
    setError(error, QStringLiteral("Cannot write the synchronisation facts: ")
                        + query.lastError().text());
    return false;
}

// Sets the key generator past every "Q7" + number the base has used, so that no key made
// before the generator existed is handed out again.
bool catchUpKeyGenerator(const QSqlDatabase &db, QString *error)
{
    const qint64 largest = ClientKeys::highestUsedNumber(
        db,
        {{QStringLiteral("CLIENTS"), QStringLiteral("CODE_CLIENT")},
         {QStringLiteral("DELETED_CLIENTS"), QStringLiteral("CODE_CLIENT")}},
        error);
    if (largest < 0)
        return false;
    if (largest == 0)
        return true;
    QSqlQuery set(db);
    if (!set.exec(QStringLiteral("ALTER SEQUENCE GEN_CLIENT_KEY RESTART WITH %1").arg(largest))) {
        setError(error, QStringLiteral("Cannot set the client key generator: ")
                            + set.lastError().text());
        return false;
    }
    return true;
}

} // namespace

bool SyncSchema::upgradeShared(const QSqlDatabase &db, QString *error)
{
    // Two workstations may meet a new shared base at the same moment: the one that loses a
    // race for an object finds it made by the other on its next try.
    for (int attempt = 0;; ++attempt) {
        QString failure;
        if (upgradeSharedOnce(db, &failure))
            return true;
        if (attempt == 5) {
            setError(error, failure);
            return false;
        }
        QThread::msleep(100 + QRandomGenerator::global()->bounded(300));
    }
}

bool SyncSchema::upgradeSharedOnce(const QSqlDatabase &db, QString *error)
{
    const QList<Step> steps = {
        {Step::Column, QStringLiteral("CLIENTS"), QStringLiteral("SYNC_STAMP"),
         QStringLiteral("ALTER TABLE CLIENTS ADD SYNC_STAMP BIGINT")},
        {Step::Column, QStringLiteral("CLIENTS"), QStringLiteral("CHANGED_AT"),
         QStringLiteral("ALTER TABLE CLIENTS ADD CHANGED_AT TIMESTAMP")},
        {Step::Column, QStringLiteral("CLIENTS"), QStringLiteral("CHANGED_BY"),
         QStringLiteral("ALTER TABLE CLIENTS ADD CHANGED_BY VARCHAR(60)")},
        {Step::Generator, QStringLiteral("GEN_SYNC_STAMP"), {},
         QStringLiteral("CREATE SEQUENCE GEN_SYNC_STAMP")},
        {Step::Generator, QStringLiteral("GEN_CLIENT_KEY"), {},
         QStringLiteral("CREATE SEQUENCE GEN_CLIENT_KEY")},
        {Step::Table, QStringLiteral("DELETED_CLIENTS"), {},
         QStringLiteral("CREATE TABLE DELETED_CLIENTS (CODE_CLIENT VARCHAR(16) NOT NULL PRIMARY "
                        "KEY, DELETED_AT TIMESTAMP, DELETED_BY VARCHAR(60), SYNC_STAMP BIGINT)")},
        {Step::Table, QStringLiteral("CLIENT_CONFLICTS"), {},
         QStringLiteral("CREATE TABLE CLIENT_CONFLICTS (") + g_conflictColumns + QLatin1Char(')')},
        {Step::Table, QStringLiteral("SYNC_INFO"), {},
         QStringLiteral("CREATE TABLE SYNC_INFO (") + g_infoColumns + QLatin1Char(')')},
        {Step::Index, QStringLiteral("IX_CLIENTS_SYNC_STAMP"), {},
         QStringLiteral("CREATE INDEX IX_CLIENTS_SYNC_STAMP ON CLIENTS (SYNC_STAMP)")},
        {Step::Index, QStringLiteral("IX_DELETED_CLIENTS_STAMP"), {},
         QStringLiteral("CREATE INDEX IX_DELETED_CLIENTS_STAMP ON DELETED_CLIENTS (SYNC_STAMP)")},
        {Step::Index, QStringLiteral("IX_CLIENT_CONFLICTS_STAMP"), {},
         QStringLiteral("CREATE INDEX IX_CLIENT_CONFLICTS_STAMP ON CLIENT_CONFLICTS (SYNC_STAMP)")},
        // Every write is stamped by the base itself, also a write of an older program.
        {Step::Trigger, QStringLiteral("TRG_CLIENTS_STAMP"), {},
         QStringLiteral("CREATE TRIGGER TRG_CLIENTS_STAMP FOR CLIENTS ACTIVE BEFORE INSERT OR "
                        "UPDATE POSITION 0 AS BEGIN NEW.SYNC_STAMP = NEXT VALUE FOR "
                        "GEN_SYNC_STAMP; IF (NEW.CHANGED_AT IS NULL) THEN NEW.CHANGED_AT = "
                        "CURRENT_TIMESTAMP; END")},
        {Step::Trigger, QStringLiteral("TRG_CLIENTS_DELETED"), {},
         QStringLiteral("CREATE TRIGGER TRG_CLIENTS_DELETED FOR CLIENTS ACTIVE AFTER DELETE "
                        "POSITION 0 AS BEGIN UPDATE OR INSERT INTO DELETED_CLIENTS (CODE_CLIENT, "
                        "DELETED_AT) VALUES (OLD.CODE_CLIENT, CURRENT_TIMESTAMP) MATCHING "
                        "(CODE_CLIENT); END")},
        {Step::Trigger, QStringLiteral("TRG_CLIENTS_BACK"), {},
         QStringLiteral("CREATE TRIGGER TRG_CLIENTS_BACK FOR CLIENTS ACTIVE AFTER INSERT "
                        "POSITION 0 AS BEGIN DELETE FROM DELETED_CLIENTS WHERE CODE_CLIENT = "
                        "NEW.CODE_CLIENT; END")},
        {Step::Trigger, QStringLiteral("TRG_DELETED_CLIENTS_STAMP"), {},
         QStringLiteral("CREATE TRIGGER TRG_DELETED_CLIENTS_STAMP FOR DELETED_CLIENTS ACTIVE "
                        "BEFORE INSERT OR UPDATE POSITION 0 AS BEGIN NEW.SYNC_STAMP = NEXT VALUE "
                        "FOR GEN_SYNC_STAMP; END")},
        {Step::Trigger, QStringLiteral("TRG_CLIENT_CONFLICTS_STAMP"), {},
         QStringLiteral("CREATE TRIGGER TRG_CLIENT_CONFLICTS_STAMP FOR CLIENT_CONFLICTS ACTIVE "
                        "BEFORE INSERT OR UPDATE POSITION 0 AS BEGIN NEW.SYNC_STAMP = NEXT VALUE "
                        "FOR GEN_SYNC_STAMP; END")},
    };
    QStringList made;
    if (!applyShared(db, steps, error, &made))
        return false;
    if (made.contains(QStringLiteral("SYNC_STAMP"))
        && !run(db,
                QStringLiteral("UPDATE CLIENTS SET SYNC_STAMP = NEXT VALUE FOR GEN_SYNC_STAMP "
                               "WHERE SYNC_STAMP IS NULL"),
                error))
        return false;
    if (made.contains(QStringLiteral("GEN_CLIENT_KEY")) && !catchUpKeyGenerator(db, error))
        return false;
    return ensureInfo(db, QStringLiteral("BASE_ID"),
                      QUuid::createUuid().toString(QUuid::WithoutBraces), error)
           && ensureInfo(db, QStringLiteral("LOCK"), QStringLiteral("0"), error);
}

namespace {

QList<Step> localSteps(const QSqlDatabase &db)
{
    QList<Step> steps = {
        {Step::Table, QStringLiteral("SYNC_PENDING"), {},
         QStringLiteral("CREATE TABLE SYNC_PENDING (CODE_CLIENT VARCHAR(16) NOT NULL PRIMARY KEY, "
                        "CHANGED_AT TIMESTAMP, DELETED SMALLINT DEFAULT 0 NOT NULL)")},
        {Step::Table, QStringLiteral("CLIENTS_SYNCED"), {},
         QStringLiteral("CREATE TABLE CLIENTS_SYNCED (CODE_CLIENT VARCHAR(16) NOT NULL PRIMARY "
                        "KEY, SYNC_STAMP BIGINT, DIGESTS VARCHAR(2000) CHARACTER SET ASCII)")},
        {Step::Table, QStringLiteral("KEY_RENAMES"), {},
         QStringLiteral("CREATE TABLE KEY_RENAMES (OLD_KEY VARCHAR(16) NOT NULL PRIMARY KEY, "
                        "NEW_KEY VARCHAR(16) NOT NULL, RENAMED_AT TIMESTAMP, ACTIVE SMALLINT "
                        "DEFAULT 1 NOT NULL)")},
        {Step::Table, QStringLiteral("RESERVED_KEYS"), {},
         QStringLiteral("CREATE TABLE RESERVED_KEYS (CODE_CLIENT VARCHAR(16) NOT NULL PRIMARY "
                        "KEY, SHARED_ID VARCHAR(60))")},
        {Step::Table, QStringLiteral("CLIENT_CONFLICTS"), {},
         QStringLiteral("CREATE TABLE CLIENT_CONFLICTS (") + g_conflictColumns + QLatin1Char(')')},
        {Step::Index, QStringLiteral("IX_LOCAL_CONFLICTS_CLIENT"), {},
         QStringLiteral("CREATE INDEX IX_LOCAL_CONFLICTS_CLIENT ON CLIENT_CONFLICTS "
                        "(CODE_CLIENT)")},
        {Step::Table, QStringLiteral("SYNC_INFO"), {},
         QStringLiteral("CREATE TABLE SYNC_INFO (") + g_infoColumns + QLatin1Char(')')},
        {Step::Generator, QStringLiteral("GEN_PROVISIONAL_KEY"), {},
         QStringLiteral("CREATE SEQUENCE GEN_PROVISIONAL_KEY")},
    };
    // A row written under a key that was renamed lands under the new key, whoever wrote it.
    const QSet<QString> present = objects(db);
    for (const SchemaUpgrade::Column &column : SchemaUpgrade::clientCodeColumns()) {
        if (column.table == QLatin1String("CLIENTS") || !present.contains(QLatin1Char('T') + column.table))
            continue;
        const QString name = QStringLiteral("TRG_%1_RENAMED").arg(column.table).left(31);
        steps.append({Step::Trigger, name, {},
                      QStringLiteral("CREATE TRIGGER %1 FOR %2 ACTIVE BEFORE INSERT OR UPDATE "
                                     "POSITION 0 AS DECLARE VARIABLE K VARCHAR(16); BEGIN IF "
                                     "(NEW.%3 IS NOT NULL) THEN BEGIN SELECT NEW_KEY FROM "
                                     "KEY_RENAMES WHERE OLD_KEY = NEW.%3 AND ACTIVE = 1 INTO :K; "
                                     "IF (K IS NOT NULL) THEN NEW.%3 = K; END END")
                          .arg(name, column.table, column.column)});
    }
    return steps;
}

} // namespace

bool SyncSchema::upgradeLocal(const QSqlDatabase &db, QString *error)
{
    return apply(db, localSteps(db), error);
}

bool SyncSchema::localIsCurrent(const QSqlDatabase &db)
{
    const QSet<QString> present = objects(db);
    const QList<Step> steps = localSteps(db);
    return std::all_of(steps.cbegin(), steps.cend(),
                       [&](const Step &step) { return present.contains(objectName(step)); });
}
