#include "ClientKeys.h"

#include "app/AppPaths.h"
#include "common/IniFile.h"
#include "DataModule.h"
#include "SchemaUpgrade.h"
#include "common/ErrorOut.h"

#include <QDateTime>

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

const QString g_section = QStringLiteral("Client");
const QString g_key = QStringLiteral("Id");

// The largest number whose key still fits the client-code column.
qint64 largestNumber()
{
    qint64 n = 1;
    for (int i = 0; i < SchemaUpgrade::ClientCodeWidth - int(ClientKeys::prefix().size()); ++i)
        n *= 10;
    return n - 1;
}

} // namespace

QString ClientKeys::next(const DataModule &data, QString *error)
{
    if (!data.isOpen()) {
        if (error)
            *error = QStringLiteral("The database is not open.");
        return QString();
    }
    return next(data.database(), AppPaths::dataFile(QStringLiteral("Options.ini")), error);
}

bool ClientKeys::isFree(const QSqlDatabase &db, const QString &key, bool *ok, QString *error)
{
    // Cards are compared without case, like every lookup of a client; tests by the index.
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral(
            "SELECT (SELECT COUNT(*) FROM CLIENTS WHERE UPPER(CODE_CLIENT) = UPPER(CAST(? AS "
            "VARCHAR(%1)))) + (SELECT COUNT(*) FROM TESTS WHERE CODE_CLIENT = CAST(? AS "
            "VARCHAR(%1))) FROM RDB$DATABASE")
            .arg(SchemaUpgrade::ClientCodeWidth));
    query.addBindValue(key);
    query.addBindValue(key);
    const bool done = query.exec() && query.next();
    if (ok)
        *ok = done;
    if (!done && error)
        *error = query.lastError().text();
    return done && query.value(0).toLongLong() == 0;
}

QString ClientKeys::next(const QSqlDatabase &db, const QString &optionsPath, QString *error)
{
    IniFile ini(optionsPath);
    QString text = ini.readString(g_section, g_key).trimmed();

    // Only plain digits make a key of the right form; anything else starts again at 1.
    bool valid = !text.isEmpty();
    for (const QChar c : std::as_const(text)) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            valid = false;
    }
    qint64 number = valid ? text.toLongLong(&valid) : 0;
    if (!valid || number > largestNumber()) {
        number = 1;
        text = QStringLiteral("1");
    }

    // The stored text is used as it stands ("007" gives "Q7007") unless the key is taken.
    QString key = prefix() + text;
    for (;;) {
        bool ok = false;
        QString queryError;
        const bool free = isFree(db, key, &ok, &queryError);
        if (!ok) {
            if (error)
                *error = QStringLiteral("Cannot check the client key %1: %2").arg(key, queryError);
            return QString();
        }
        if (free)
            break;
        if (number >= largestNumber()) {
            if (error)
                *error = QStringLiteral("No free client key is left.");
            return QString();
        }
        ++number;
        key = prefix() + QString::number(number);
    }

    ini.writeString(g_section, g_key, QString::number(number + 1));
    QString saveError;
    if (!ini.save(&saveError)) {
        // The key is still unique: the next card finds it taken and moves on.
        qWarning("Cannot store the next client number in %s: %s", qPrintable(optionsPath),
                 qPrintable(saveError));
    }
    return key;
}

bool ClientKeys::isProvisional(const QString &key)
{
    return key.startsWith(provisionalPrefix());
}

QString ClientKeys::takeForNewCard(const QSqlDatabase &db, QString *error)
{
    for (int tries = 0; tries < 1000; ++tries) {
        QString key;
        {
            QSqlQuery reserved(db);
            reserved.setForwardOnly(true);
            if (reserved.exec(QStringLiteral("SELECT FIRST 1 CODE_CLIENT FROM RESERVED_KEYS ORDER "
                                             "BY CHAR_LENGTH(CODE_CLIENT), CODE_CLIENT"))
                && reserved.next())
                key = reserved.value(0).toString();
        }
        if (!key.isEmpty()) {
            QSqlQuery take(db);
            take.prepare(QStringLiteral("DELETE FROM RESERVED_KEYS WHERE CODE_CLIENT = ?"));
            take.addBindValue(key);
            if (!take.exec()) {
                setError(error, QStringLiteral("Cannot take a reserved client key: ")
                                    + take.lastError().text());
                return QString();
            }
        } else {
            QSqlQuery next(db);
            next.setForwardOnly(true);
            if (!next.exec(QStringLiteral(
                    "SELECT NEXT VALUE FOR GEN_PROVISIONAL_KEY FROM RDB$DATABASE"))
                || !next.next()) {
                setError(error, QStringLiteral("Cannot make a client key: ")
                                    + next.lastError().text());
                return QString();
            }
            key = provisionalPrefix() + QString::number(next.value(0).toLongLong());
        }
        bool ok = false;
        QString queryError;
        if (isFree(db, key, &ok, &queryError))
            return key;
        if (!ok) {
            setError(error, QStringLiteral("Cannot check the client key %1: %2").arg(key, queryError));
            return QString();
        }
    }
    setError(error, QStringLiteral("No free client key is left."));
    return QString();
}

bool ClientKeys::rename(const QSqlDatabase &db, const QString &oldKey, const QString &newKey,
                        QString *error)
{
    struct Place
    {
        QString table;
        QString column;
    };
    QList<Place> places;
    for (const SchemaUpgrade::Column &column : SchemaUpgrade::clientCodeColumns())
        places.append({column.table, column.column});
    for (const QString &table : {QStringLiteral("SYNC_PENDING"), QStringLiteral("CLIENTS_SYNCED"),
                                 QStringLiteral("CLIENT_CONFLICTS")})
        places.append({table, QStringLiteral("CODE_CLIENT")});

    QSqlDatabase base = db;
    if (!base.transaction()) {
        setError(error, QStringLiteral("Cannot start a transaction: ") + base.lastError().text());
        return false;
    }
    auto fail = [&](const QString &what, const QSqlQuery &query) {
        setError(error, QStringLiteral("Cannot rename the client %1 to %2 (%3): %4")
                            .arg(oldKey, newKey, what, query.lastError().text()));
        base.rollback();
        return false;
    };
    {
        QSqlQuery remember(base);
        remember.prepare(QStringLiteral(
            "UPDATE OR INSERT INTO KEY_RENAMES (OLD_KEY, NEW_KEY, RENAMED_AT, ACTIVE) "
            "VALUES (?, ?, ?, 1) MATCHING (OLD_KEY)"));
        remember.addBindValue(oldKey);
        remember.addBindValue(newKey);
        remember.addBindValue(QDateTime::currentDateTime());
        if (!remember.exec())
            return fail(QStringLiteral("KEY_RENAMES"), remember);
        QSqlQuery chain(base);
        chain.prepare(QStringLiteral("UPDATE KEY_RENAMES SET NEW_KEY = ? WHERE NEW_KEY = ?"));
        chain.addBindValue(newKey);
        chain.addBindValue(oldKey);
        if (!chain.exec())
            return fail(QStringLiteral("KEY_RENAMES"), chain);
    }
    for (const Place &place : std::as_const(places)) {
        QSqlQuery query(base);
        query.prepare(QStringLiteral("UPDATE %1 SET %2 = ? WHERE %2 = ?").arg(place.table, place.column));
        query.addBindValue(newKey);
        query.addBindValue(oldKey);
        if (!query.exec()) {
            // A table an older base lacks carries nothing to rename.
            if (query.lastError().text().contains(QLatin1String("Table unknown"), Qt::CaseInsensitive))
                continue;
            return fail(place.table, query);
        }
    }
    if (!base.commit()) {
        setError(error, QStringLiteral("Cannot rename the client %1: %2")
                            .arg(oldKey, base.lastError().text()));
        base.rollback();
        return false;
    }
    return true;
}

bool ClientKeys::acknowledgeRenames(const QSqlDatabase &db, QString *error)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral(
        "UPDATE KEY_RENAMES SET ACTIVE = 0 WHERE ACTIVE = 1 AND OLD_KEY NOT STARTING WITH ?"));
    query.addBindValue(provisionalPrefix());
    if (query.exec())
        return true;
    setError(error, QStringLiteral("Cannot close the renamed client keys: ") + query.lastError().text());
    return false;
}

QString ClientKeys::currentKey(const QSqlDatabase &db, const QString &key)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT NEW_KEY FROM KEY_RENAMES WHERE OLD_KEY = ? AND ACTIVE = 1"));
    query.addBindValue(key);
    if (query.exec() && query.next())
        return query.value(0).toString();
    return key;
}

qint64 ClientKeys::highestUsedNumber(const QSqlDatabase &db,
                                     const QList<SchemaUpgrade::Column> &columns, QString *error)
{
    const QString pattern = QStringLiteral("Q7[0-9]{1,14}");
    QStringList parts;
    for (const SchemaUpgrade::Column &c : columns)
        parts.append(QStringLiteral("SELECT CAST(SUBSTRING(%2 FROM 3) AS BIGINT) N FROM %1 WHERE "
                                    "%2 SIMILAR TO ?")
                         .arg(c.table, c.column));
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT MAX(N) FROM (") + parts.join(QStringLiteral(" UNION ALL "))
                  + QLatin1Char(')'));
    for (qsizetype i = 0; i < columns.size(); ++i)
        query.addBindValue(pattern);
    if (!query.exec() || !query.next()) {
        setError(error, QStringLiteral("Cannot read the client keys: ") + query.lastError().text());
        return -1;
    }
    return query.value(0).toLongLong();
}
