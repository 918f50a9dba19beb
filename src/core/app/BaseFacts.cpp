#include "BaseFacts.h"

#include "common/ErrorOut.h"
#include "records/DataModule.h"

#include <QAtomicInt>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

QAtomicInt g_checkConnections;

bool countRows(const QSqlDatabase &db, const QString &table, int *rows, QString *error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM ") + table) || !query.next()) {
        setError(error, QStringLiteral("%1: %2").arg(table, query.lastError().text()));
        return false;
    }
    *rows = query.value(0).toInt();
    return true;
}

} // namespace

bool BaseFacts::count(const QSqlDatabase &db, Counts *counts, QString *error)
{
    if (!db.isOpen()) {
        setError(error, QStringLiteral("The database is not open."));
        return false;
    }
    Counts found;
    if (!countRows(db, QStringLiteral("CLIENTS"), &found.clients, error)
        || !countRows(db, QStringLiteral("TESTS"), &found.tests, error))
        return false;
    *counts = found;
    return true;
}

QString BaseFacts::engineVersion(const QSqlDatabase &db)
{
    if (!db.isOpen())
        return QString();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(
            QStringLiteral("SELECT RDB$GET_CONTEXT('SYSTEM', 'ENGINE_VERSION') FROM RDB$DATABASE"))
        || !query.next())
        return QString();
    return query.value(0).toString().trimmed();
}

bool BaseFacts::countTables(const QSqlDatabase &db, TableRows *rows, QString *error)
{
    TableRows found;
    for (const QString &table : DataModule::tableNames()) {
        if (!countRows(db, table, &found[table], error))
            return false;
    }
    *rows = found;
    return true;
}

bool BaseFacts::onFile(const QString &path, const std::function<bool(const QSqlDatabase &)> &read,
                       QString *error)
{
    const QString name =
        QStringLiteral("vandrel-base-check-%1").arg(g_checkConnections.fetchAndAddRelaxed(1));
    bool ok = false;
    {
        QSqlDatabase db = DataModule::addConnection(name, path);
        if (!db.open())
            setError(error, db.lastError().text());
        else
            ok = read(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

bool BaseFacts::countFile(const QString &path, Counts *counts, QString *error)
{
    return onFile(
        path, [&](const QSqlDatabase &db) { return count(db, counts, error); }, error);
}
