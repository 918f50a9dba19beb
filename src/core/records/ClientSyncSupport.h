#pragma once

// What the parts of the client synchronisation share: small SQL helpers and its constants.
#include "ClientKeys.h"
#include "ClientRows.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace ClientSyncSupport {
// Cards go up in chunks: each chunk holds the shared base's lock only briefly.
inline constexpr int ChunkSize = 100;
// Keys kept ready for new cards, so a card made while the shared base is away still gets one.
inline constexpr int ReservedKeys = 3;
// How a card of this base follows once the shared base committed.
enum SettleKind { SettleMerged, SettleForget, SettleRestore };
// Cards coming down are committed here in batches.
inline constexpr int PullBatch = 500;

inline QString placeholders(qsizetype n)
{
    return QStringList(n, QStringLiteral("?")).join(QStringLiteral(", "));
}

// " WHERE CODE_CLIENT IN (?, ...)" for n keys.
inline QString whereKeys(qsizetype n)
{
    return QStringLiteral("WHERE CODE_CLIENT IN (") + placeholders(n) + QLatin1Char(')');
}

// Runs `select` (a SELECT ... FROM table) for the rows of these keys.
inline bool selectByKeys(QSqlQuery &query, const QString &select, const QStringList &keys,
                         QString *error)
{
    query.setForwardOnly(true);
    query.prepare(select + QLatin1Char(' ') + whereKeys(keys.size()));
    for (const QString &key : keys)
        query.addBindValue(key);
    if (query.exec())
        return true;
    *error = query.lastError().text();
    return false;
}

inline QVariantList toVariants(const QStringList &texts)
{
    QVariantList out;
    for (const QString &text : texts)
        out.append(text);
    return out;
}

inline QVariant nullableTime(const QDateTime &time)
{
    return time.isValid() ? QVariant(time) : QVariant(QMetaType(QMetaType::QDateTime));
}

inline QString info(const QSqlDatabase &db, const QString &name)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT VAL FROM SYNC_INFO WHERE NAME = ?"));
    query.addBindValue(name);
    if (query.exec() && query.next())
        return query.value(0).toString();
    return QString();
}

inline bool setInfo(const QSqlDatabase &db, const QString &name, const QString &value, QString *error)
{
    QSqlQuery query(db);
    query.prepare(
        QStringLiteral("UPDATE OR INSERT INTO SYNC_INFO (NAME, VAL) VALUES (?, ?) MATCHING (NAME)"));
    query.addBindValue(name);
    query.addBindValue(value);
    if (query.exec())
        return true;
    *error = query.lastError().text();
    return false;
}

inline bool isConflict(const QString &text)
{
    return text.contains(QLatin1String("deadlock"), Qt::CaseInsensitive)
           || text.contains(QLatin1String("conflict"), Qt::CaseInsensitive);
}

inline QString cardName(const QStringList &columns, const ClientRows::Row &row)
{
    const int name = int(columns.indexOf(QStringLiteral("NAME")));
    const int surname = int(columns.indexOf(QStringLiteral("SURNAME")));
    QString text;
    if (name >= 0)
        text = row.values.at(name).toString().trimmed();
    if (surname >= 0)
        text += QLatin1Char(' ') + row.values.at(surname).toString().trimmed();
    return text.trimmed();
}

// "Q7" + digits: the number, else 0.
inline qint64 keyNumber(const QString &key)
{
    if (!key.startsWith(ClientKeys::prefix()) || key.size() <= ClientKeys::prefix().size())
        return 0;
    bool ok = false;
    const qint64 n = key.mid(ClientKeys::prefix().size()).toLongLong(&ok);
    for (const QChar c : key.mid(ClientKeys::prefix().size()))
        if (!c.isDigit())
            return 0;
    return ok ? n : 0;
}


} // namespace ClientSyncSupport
