#include "ClientSync.h"

#include "app/AppPaths.h"
#include "common/IniFile.h"
#include "DataModule.h"
#include "SchemaUpgrade.h"

#include <QAtomicInt>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <future>

namespace {

QAtomicInt g_counter;

const QString g_table = QStringLiteral("CLIENTS");
const QString g_key = QStringLiteral("CODE_CLIENT");
const QString g_section = QStringLiteral("Uniform");

// RDB$FIELDS.RDB$FIELD_TYPE of a blob; sub-type 1 is text.
constexpr int FieldTypeBlob = 261;

struct Row {
    QString key;            // as stored
    QList<QVariant> values; // every column, the key first
};

struct Table {
    QList<Row> rows;
    QHash<QString, int> byKey; // trimmed key -> index in rows; the first row of a key wins
};

// The columns of CLIENTS in their order, and which of them are text blobs.
bool readColumns(const QSqlDatabase &db, QStringList *columns, QStringList *memos,
                 QStringList *blobs, QString *error) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral(
        "SELECT RF.RDB$FIELD_NAME, F.RDB$FIELD_TYPE, F.RDB$FIELD_SUB_TYPE "
        "FROM RDB$RELATION_FIELDS RF JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE "
        "WHERE RF.RDB$RELATION_NAME = ? ORDER BY RF.RDB$FIELD_POSITION"));
    query.addBindValue(g_table);
    if (!query.exec()) {
        *error = query.lastError().text();
        return false;
    }
    columns->clear();
    memos->clear();
    blobs->clear();
    while (query.next()) {
        const QString name = query.value(0).toString().trimmed();
        columns->append(name);
        if (query.value(1).toInt() != FieldTypeBlob)
            continue;
        blobs->append(name);
        if (query.value(2).toInt() == 1)
            memos->append(name);
    }
    if (!columns->contains(g_key)) {
        *error = QStringLiteral("The base has no table CLIENTS with CODE_CLIENT.");
        return false;
    }
    return true;
}

// With `digestOf`, those (blob) columns are read as hash and length: reading a blob costs a
// round of calls per value, and comparing two bases needs only to know whether they differ.
QString selectText(const QStringList &columns, const QStringList &digestOf = {}) {
    QStringList items;
    for (const QString &column : columns) {
        if (digestOf.contains(column))
            items.append(QStringLiteral("HASH(%1) || ':' || OCTET_LENGTH(%1)").arg(column));
        else
            items.append(column);
    }
    return QStringLiteral("SELECT ") + items.join(QStringLiteral(", ")) +
           QStringLiteral(" FROM CLIENTS");
}

QString insertText(const QStringList &columns) {
    return QStringLiteral("INSERT INTO CLIENTS (") + columns.join(QStringLiteral(", ")) +
           QStringLiteral(") VALUES (") +
           QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", ")) +
           QLatin1Char(')');
}

// Every column but the key, then the stored key of the row to change.
QString updateText(const QStringList &columns) {
    return QStringLiteral("UPDATE CLIENTS SET ") + columns.mid(1).join(QStringLiteral(" = ?, ")) +
           QStringLiteral(" = ? WHERE CODE_CLIENT = ?");
}

// Reads every row; memos as text, dates as dates, pictures as bytes.
bool readTable(const QSqlDatabase &db, const QStringList &columns, const QStringList &memos,
               const QString &where, const QVariant &whereValue, Table *table, QString *error,
               const QStringList &digestOf = {}) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(selectText(columns, digestOf) + where);
    if (!where.isEmpty())
        query.addBindValue(whereValue);
    if (!query.exec()) {
        *error = QStringLiteral("Cannot read the clients: ") + query.lastError().text();
        return false;
    }
    QList<bool> isMemo;
    for (const QString &column : columns)
        isMemo.append(memos.contains(column));
    while (query.next()) {
        Row row;
        row.values.reserve(columns.size());
        for (int i = 0; i < columns.size(); ++i) {
            const QVariant value = query.value(i);
            if (isMemo.at(i) && !value.isNull())
                row.values.append(DataModule::memoText(value));
            else
                row.values.append(value);
        }
        row.key = row.values.first().toString();
        const QString key = row.key.trimmed();
        if (!table->byKey.contains(key))
            table->byKey.insert(key, int(table->rows.size()));
        table->rows.append(row);
    }
    return true;
}

bool sameValues(const Row &a, const Row &b) {
    for (int i = 1; i < a.values.size(); ++i) {
        const QVariant &x = a.values.at(i);
        const QVariant &y = b.values.at(i);
        if (x.isNull() != y.isNull() || (!x.isNull() && x != y))
            return false;
    }
    return true;
}

bool execRow(QSqlQuery &query, const QList<QVariant> &values, QString *error) {
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    if (query.exec())
        return true;
    *error = query.lastError().text();
    return false;
}

QList<QVariant> updateValues(const Row &from, const QString &storedKey) {
    QList<QVariant> values = from.values.mid(1);
    values.append(storedKey);
    return values;
}

} // namespace

QString ClientSync::defaultSharedPath() {
    return AppPaths::makerFolder() + QStringLiteral("/Uniform Base/Uniform.fdb");
}

QString ClientSync::seedPath() {
    return AppPaths::installFile(QStringLiteral("defUniformDB/Uniform.fdb"));
}

ClientSync::Target ClientSync::configuredTarget() {
    const IniFile ini(AppPaths::dataFile(QStringLiteral("Options.ini")));
    Target target;
    target.database = ini.readString(g_section, QStringLiteral("database")).trimmed();
    if (target.database.isEmpty())
        target.database = defaultSharedPath();
    target.user = ini.readString(g_section, QStringLiteral("user"), target.user).trimmed();
    target.password = ini.readString(g_section, QStringLiteral("password"), target.password);
    return target;
}

void ClientSync::writeTarget(IniFile &options, const Target &target) {
    options.writeString(g_section, QStringLiteral("database"), target.database.trimmed());
    options.writeString(g_section, QStringLiteral("user"), target.user);
    options.writeString(g_section, QStringLiteral("password"), target.password);
}

QString ClientSync::logPath() {
    return AppPaths::GetDataPath() + QStringLiteral("Vandrel.log");
}

ClientSync::ClientSync(const QString &localPath, Target shared)
    : m_localPath(localPath)
    , m_shared(std::move(shared)) {}

bool ClientSync::Synchronise(const QString &key) {
    const QString trimmed = key.trimmed();
    if (trimmed.isEmpty() || trimmed == QLatin1String("0"))
        return synchroniseAll();
    return synchroniseOne(trimmed);
}

void ClientSync::log(const QString &message) const {
    QFile file(logPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return;
    file.write((QDateTime::currentDateTime().toString(Qt::ISODate) +
                QStringLiteral("  client synchronisation: ") + message + QLatin1Char('\n'))
                   .toUtf8());
}

bool ClientSync::fail(const QString &message) {
    m_error = message;
    log(message);
    return false;
}

bool ClientSync::prepareShared() {
    m_created = false;
    const QString path = m_shared.database;
    if (path.isEmpty())
        return fail(QStringLiteral("No shared base is set."));
    // One file is never opened both by this process's engine and through a server.
    const QString localFile = QFileInfo(m_localPath).absoluteFilePath();
    if (DataModule::isServerPath(path)) {
        const QString remoteFile = path.mid(path.indexOf(QLatin1Char(':')) + 1);
        if (QFileInfo(remoteFile).absoluteFilePath() == localFile)
            return fail(QStringLiteral("The shared base %1 is the local base.").arg(path));
        return true;
    }
    if (QFileInfo(path).absoluteFilePath() == localFile)
        return fail(QStringLiteral("The shared base %1 is the local base.").arg(path));
    if (QFileInfo::exists(path))
        return true;
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QString seed = seedPath();
    if (!QFile::copy(seed, path))
        return fail(QStringLiteral("Cannot make the shared base %1 from %2.").arg(path, seed));
    // The seed of a read-only install folder would come over read-only.
    QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                               QFile::WriteGroup);
    m_created = true;
    return true;
}

bool ClientSync::open(QSqlDatabase &db, const QString &path, const QString &user,
                      const QString &password, QString *error) const {
    db.setDatabaseName(path);
    db.setUserName(user);
    db.setPassword(password);
    if (!db.open()) {
        *error = QStringLiteral("Cannot open %1: %2").arg(path, db.lastError().text());
        return false;
    }
    // Older bases keep client codes narrower than the keys this program makes.
    bool widened = false;
    if (!SchemaUpgrade::widenClientCodes(db, error, &widened))
        return false;
    if (widened) {
        db.close();
        if (!db.open()) {
            *error = QStringLiteral("Cannot open %1 again: %2").arg(path, db.lastError().text());
            return false;
        }
    }
    return true;
}

template <typename Fn> bool ClientSync::withBases(Fn fn) {
    m_error.clear();
    m_stats = Stats();
    if (!QFileInfo(m_localPath).isFile())
        return fail(QStringLiteral("The local base %1 does not exist.").arg(m_localPath));
    if (!prepareShared())
        return false;
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QIBASE")))
        return fail(QStringLiteral("The Firebird driver of Qt (QIBASE) is not installed."));

    const int n = g_counter.fetchAndAddRelaxed(1);
    const QString localName = QStringLiteral("vandrel-sync-local-%1").arg(n);
    const QString sharedName = QStringLiteral("vandrel-sync-shared-%1").arg(n);
    bool ok = false;
    {
        QSqlDatabase local = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), localName);
        QSqlDatabase shared = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), sharedName);
        QString error;
        QStringList localColumns, localMemos, localBlobs;
        if (!open(local, m_localPath, QStringLiteral("SYSDBA"), QStringLiteral("quillmoss"),
                  &error) ||
            !open(shared, m_shared.database, m_shared.user, m_shared.password, &error) ||
            !readColumns(shared, &m_columns, &m_memoColumns, &m_blobColumns, &error) ||
            !readColumns(local, &localColumns, &localMemos, &localBlobs, &error)) {
            fail(error);
        } else {
            // Columns one side lacks (an older layout) are left alone.
            QStringList common;
            for (const QString &column : std::as_const(m_columns)) {
                if (localColumns.contains(column))
                    common.append(column);
            }
            common.removeAll(g_key);
            common.prepend(g_key);
            m_columns = common;
            if (!local.transaction() || !shared.transaction())
                fail(QStringLiteral("Cannot start the transactions: ") + local.lastError().text() +
                     shared.lastError().text());
            else if (fn(local, shared))
                ok = true;
            // Closing commits what was not committed yet and rolls back nothing saved.
            if (ok && !(local.commit() && shared.commit()))
                ok = fail(QStringLiteral("Cannot commit: ") + local.lastError().text() +
                          shared.lastError().text());
            if (!ok) {
                local.rollback();
                shared.rollback();
            }
        }
        local.close();
        shared.close();
    }
    QSqlDatabase::removeDatabase(localName);
    QSqlDatabase::removeDatabase(sharedName);
    return ok;
}

bool ClientSync::synchroniseAll() {
    return withBases(
        [this](QSqlDatabase &local, QSqlDatabase &shared) { return runAll(local, shared); });
}

bool ClientSync::synchroniseOne(const QString &key) {
    return withBases([this, key](QSqlDatabase &local, QSqlDatabase &shared) {
        return runOne(local, shared, key.trimmed());
    });
}

namespace {

// Reads a base's rows as readTable does with digests, through a connection of its own so
// that it may run in another thread.
std::pair<Table, QString> readDigestsApart(const ClientSync::Target &base,
                                           const QStringList &columns, const QStringList &memos,
                                           const QStringList &blobs) {
    const QString name =
        QStringLiteral("vandrel-sync-reader-%1").arg(g_counter.fetchAndAddRelaxed(1));
    Table table;
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), name);
        db.setDatabaseName(base.database);
        db.setUserName(base.user);
        db.setPassword(base.password);
        if (!db.open())
            error = QStringLiteral("Cannot open %1: %2").arg(base.database, db.lastError().text());
        else if (!readTable(db, columns, memos, QString(), QVariant(), &table, &error, blobs) &&
                 error.isEmpty())
            error = QStringLiteral("Cannot read the shared clients.");
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return {std::move(table), error};
}

} // namespace

bool ClientSync::runAll(QSqlDatabase &local, QSqlDatabase &shared) {
    QString error;
    // First only what tells rows apart (pictures and memos as hash and length); whole rows
    // are read only where something must be copied.
    // The two bases are read side by side: the shared one in a second thread through a
    // connection of its own (a connection serves only the thread that made it).
    auto sharedRead = std::async(std::launch::async, [this] {
        return readDigestsApart(m_shared, m_columns, m_memoColumns, m_blobColumns);
    });
    Table localRows;
    const bool localRead = readTable(local, m_columns, m_memoColumns, QString(), QVariant(),
                                     &localRows, &error, m_blobColumns);
    auto [sharedRows, sharedError] = sharedRead.get();
    if (!localRead)
        return fail(error);
    if (!sharedError.isEmpty())
        return fail(sharedError);

    // A shared base that holds no card yet (just made from its seed, or set up empty on a
    // server) is filled from this installation first; otherwise the last step would delete
    // every local card.
    if (sharedRows.rows.isEmpty() && !localRows.rows.isEmpty()) {
        Table full;
        if (!readTable(local, m_columns, m_memoColumns, QString(), QVariant(), &full, &error))
            return fail(error);
        QSqlQuery insert(shared);
        insert.prepare(insertText(m_columns));
        for (const Row &row : std::as_const(full.rows)) {
            const int digest = localRows.byKey.value(row.key.trimmed(), -1);
            if (digest < 0 || sharedRows.byKey.contains(row.key.trimmed()))
                continue;
            if (!execRow(insert, row.values, &error)) {
                log(QStringLiteral("cannot copy the card %1 to the shared base: %2")
                        .arg(row.key, error));
                ++m_stats.failed;
                continue;
            }
            sharedRows.byKey.insert(row.key.trimmed(), int(sharedRows.rows.size()));
            sharedRows.rows.append(localRows.rows.at(digest));
            ++m_stats.copiedToShared;
        }
    }

    // The shared rows this base lacks or holds otherwise.
    QList<int> wanted;
    for (int i = 0; i < sharedRows.rows.size(); ++i) {
        const Row &row = sharedRows.rows.at(i);
        const QString key = row.key.trimmed();
        if (sharedRows.byKey.value(key) != i)
            continue; // a second shared row of the same key: the first one counts
        const auto found = localRows.byKey.constFind(key);
        if (found == localRows.byKey.cend() || !sameValues(localRows.rows.at(found.value()), row))
            wanted.append(i);
    }

    // Their whole rows: in one pass when many are wanted, else one by one by key.
    Table full;
    if (wanted.size() > sharedRows.rows.size() / 8) {
        if (!readTable(shared, m_columns, m_memoColumns, QString(), QVariant(), &full, &error))
            return fail(error);
    } else {
        for (const int i : std::as_const(wanted)) {
            if (!readTable(shared, m_columns, m_memoColumns,
                           QStringLiteral(" WHERE CODE_CLIENT = ?"), sharedRows.rows.at(i).key,
                           &full, &error))
                return fail(error);
        }
    }

    const int total = int(wanted.size() + localRows.rows.size());
    int done = 0;
    auto step = [&] {
        ++done;
        if (m_progress && done % 500 == 0)
            m_progress(done, total);
    };

    QSqlQuery insert(local);
    insert.prepare(insertText(m_columns));
    QSqlQuery update(local);
    update.prepare(updateText(m_columns));
    for (const int i : std::as_const(wanted)) {
        step();
        const QString key = sharedRows.rows.at(i).key.trimmed();
        const auto source = full.byKey.constFind(key);
        if (source == full.byKey.cend())
            continue; // deleted from the shared base in the meantime
        const Row &row = full.rows.at(source.value());
        const auto found = localRows.byKey.constFind(key);
        bool ok = true;
        if (found == localRows.byKey.cend()) {
            ok = execRow(insert, row.values, &error);
            m_stats.inserted += ok ? 1 : 0;
        } else {
            ok = execRow(update, updateValues(row, localRows.rows.at(found.value()).key), &error);
            m_stats.updated += ok ? 1 : 0;
        }
        if (!ok) {
            log(QStringLiteral("cannot take over the card %1: %2").arg(row.key, error));
            ++m_stats.failed;
        }
    }

    QSqlQuery remove(local);
    remove.prepare(QStringLiteral("DELETE FROM CLIENTS WHERE CODE_CLIENT = ?"));
    for (const Row &row : std::as_const(localRows.rows)) {
        step();
        if (sharedRows.byKey.contains(row.key.trimmed()))
            continue;
        if (execRow(remove, {row.key}, &error)) {
            ++m_stats.deleted;
        } else {
            log(QStringLiteral("cannot delete the card %1: %2").arg(row.key, error));
            ++m_stats.failed;
        }
    }
    if (m_progress)
        m_progress(total, total);
    return true;
}

bool ClientSync::runOne(QSqlDatabase &local, QSqlDatabase &shared, const QString &key) {
    if (key.size() > SchemaUpgrade::ClientCodeWidth)
        return fail(QStringLiteral("The client key %1 is too long.").arg(key));
    const QString where = QStringLiteral(" WHERE TRIM(CODE_CLIENT) = CAST(? AS VARCHAR(%1))")
                              .arg(SchemaUpgrade::ClientCodeWidth);
    QString error;
    Table localRows;
    Table sharedRows;
    if (!readTable(local, m_columns, m_memoColumns, where, key, &localRows, &error) ||
        !readTable(shared, m_columns, m_memoColumns, where, key, &sharedRows, &error))
        return fail(error);

    QSqlQuery query(shared);
    QList<QVariant> values;
    if (!localRows.rows.isEmpty() && !sharedRows.rows.isEmpty()) {
        query.prepare(updateText(m_columns));
        values = updateValues(localRows.rows.first(), sharedRows.rows.first().key);
        ++m_stats.updated;
    } else if (!localRows.rows.isEmpty()) {
        query.prepare(insertText(m_columns));
        values = localRows.rows.first().values;
        ++m_stats.inserted;
    } else if (!sharedRows.rows.isEmpty()) {
        // The card was deleted here: every shared row of that key goes.
        query.prepare(QStringLiteral("DELETE FROM CLIENTS") + where);
        values = {key};
        ++m_stats.deleted;
    } else {
        return true;
    }
    if (!execRow(query, values, &error))
        return fail(
            QStringLiteral("Cannot copy the card %1 to the shared base: %2").arg(key, error));
    return true;
}

bool ClientSync::isKeyFree(const QString &key) {
    m_error.clear();
    if (!prepareShared())
        return true;
    const QString name = QStringLiteral("vandrel-sync-key-%1").arg(g_counter.fetchAndAddRelaxed(1));
    bool free = true;
    {
        QSqlDatabase shared = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), name);
        QString error;
        if (!open(shared, m_shared.database, m_shared.user, m_shared.password, &error)) {
            fail(error);
        } else {
            QSqlQuery query(shared);
            query.setForwardOnly(true);
            query.prepare(
                QStringLiteral("SELECT COUNT(*) FROM CLIENTS WHERE UPPER(TRIM(CODE_CLIENT))"
                               " = UPPER(CAST(? AS VARCHAR(%1)))")
                    .arg(SchemaUpgrade::ClientCodeWidth));
            query.addBindValue(key.trimmed());
            if (query.exec() && query.next())
                free = query.value(0).toInt() == 0;
            else
                fail(QStringLiteral("Cannot look up the key %1: %2")
                         .arg(key, query.lastError().text()));
        }
        shared.close();
    }
    QSqlDatabase::removeDatabase(name);
    return free;
}
