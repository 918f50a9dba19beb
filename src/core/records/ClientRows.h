#pragma once

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

class QSqlQuery;

// Client cards as rows of any base's CLIENTS, read and written by column name, so that two
// bases of slightly different layouts (an older one lacks a column) exchange what both have.
namespace ClientRows {

// The columns of CLIENTS in one base, in their order, and which of them are blobs (memos are
// text blobs, read as text).
struct Columns
{
    QStringList names;
    QStringList memos;
    QStringList blobs;
};
bool readColumns(const QSqlDatabase &db, Columns *columns, QString *error);

// The card columns two bases share, the key first; the bookkeeping columns of the shared
// base (SYNC_STAMP, CHANGED_AT, CHANGED_BY) are not part of a card.
Columns common(const Columns &a, const Columns &b);

struct Row
{
    QString key;            // as stored
    QList<QVariant> values; // every column of the list read, the key first
    qint64 stamp = 0;       // shared base only
    QDateTime changedAt;    // shared base only
    QString changedBy;      // shared base only
};

struct Table
{
    QList<Row> rows;
    QHash<QString, int> byKey; // trimmed key -> index in rows; the first row of a key wins
    const Row *find(const QString &key) const;
};

// Reads the rows of CLIENTS (memos as text, dates as dates, pictures as bytes) with an
// optional condition ("WHERE ..." with one bound value). With `stamped`, the shared base's
// SYNC_STAMP, CHANGED_AT and CHANGED_BY are read as well.
bool read(const QSqlDatabase &db, const Columns &columns, const QString &where,
          const QVariantList &bound, Table *table, QString *error, bool stamped = false);

// The same row by row as they come, without holding them: `each` returns false to stop.
bool forEach(const QSqlDatabase &db, const Columns &columns, const QString &where,
             const QVariantList &bound, bool stamped, const std::function<bool(Row &&)> &each,
             QString *error);

// One card's row, found by its stored key; false with an empty row when there is none.
bool readOne(const QSqlDatabase &db, const Columns &columns, const QString &key, Row *row,
             QString *error, bool stamped = false);

QString insertText(const QStringList &columns, const QStringList &extra = {});

// A value's fingerprint for telling whether a field changed: null, text (trailing blanks
// aside), dates and bytes each hash to their own 16 hex digits.
QString digest(const QVariant &value);
// "NAME=digest;..." for every column but the key, as CLIENTS_SYNCED keeps it, and back.
QString digests(const QStringList &columns, const Row &row);
QHash<QString, QString> parseDigests(const QString &text);

// Whether the value is empty in the sense of a card (null, "" or the "0" of no photo).
bool isBlank(const QVariant &value);
// A value as a person would read it in a note ("" for null; dates as dd.MM.yyyy).
QString displayText(const QVariant &value);

// Runs a prepared statement with positional values.
bool exec(QSqlQuery &query, const QVariantList &values, QString *error);

} // namespace ClientRows
