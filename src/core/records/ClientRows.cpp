#include "ClientRows.h"

#include "DataModule.h"
#include "common/ErrorOut.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>

namespace ClientRows {

namespace {

const QString g_key = QStringLiteral("CODE_CLIENT");

// RDB$FIELDS.RDB$FIELD_TYPE of a blob; sub-type 1 is text.
constexpr int FieldTypeBlob = 261;

const QStringList &bookkeeping()
{
    static const QStringList names = {QStringLiteral("SYNC_STAMP"), QStringLiteral("CHANGED_AT"),
                                      QStringLiteral("CHANGED_BY")};
    return names;
}

} // namespace

const Row *Table::find(const QString &key) const
{
    const auto it = byKey.constFind(key.trimmed());
    return it == byKey.cend() ? nullptr : &rows.at(it.value());
}

bool readColumns(const QSqlDatabase &db, Columns *columns, QString *error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral(
        "SELECT RF.RDB$FIELD_NAME, F.RDB$FIELD_TYPE, F.RDB$FIELD_SUB_TYPE "
        "FROM RDB$RELATION_FIELDS RF JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE "
        "WHERE RF.RDB$RELATION_NAME = 'CLIENTS' ORDER BY RF.RDB$FIELD_POSITION"));
    if (!query.exec()) {
        setError(error, query.lastError().text());
        return false;
    }
    *columns = Columns();
    while (query.next()) {
        const QString name = query.value(0).toString().trimmed();
        columns->names.append(name);
        if (query.value(1).toInt() != FieldTypeBlob)
            continue;
        columns->blobs.append(name);
        if (query.value(2).toInt() == 1)
            columns->memos.append(name);
    }
    if (!columns->names.contains(g_key)) {
        setError(error, QStringLiteral("The base has no table CLIENTS with CODE_CLIENT."));
        return false;
    }
    return true;
}

Columns common(const Columns &a, const Columns &b)
{
    Columns out;
    out.names.append(g_key);
    for (const QString &name : a.names) {
        if (name == g_key || !b.names.contains(name) || bookkeeping().contains(name))
            continue;
        out.names.append(name);
        if (a.blobs.contains(name))
            out.blobs.append(name);
        if (a.memos.contains(name))
            out.memos.append(name);
    }
    return out;
}

bool forEach(const QSqlDatabase &db, const Columns &columns, const QString &where,
             const QVariantList &bound, bool stamped, const std::function<bool(Row &&)> &each,
             QString *error)
{
    QStringList items = columns.names;
    if (stamped)
        items.append(bookkeeping());
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT ") + items.join(QStringLiteral(", "))
                  + QStringLiteral(" FROM CLIENTS ") + where);
    for (const QVariant &value : bound)
        query.addBindValue(value);
    if (!query.exec()) {
        setError(error, QStringLiteral("Cannot read the clients: ") + query.lastError().text());
        return false;
    }
    QList<bool> isMemo;
    for (const QString &column : columns.names)
        isMemo.append(columns.memos.contains(column));
    const int n = int(columns.names.size());
    while (query.next()) {
        Row row;
        row.values.reserve(n);
        for (int i = 0; i < n; ++i) {
            const QVariant value = query.value(i);
            row.values.append(isMemo.at(i) && !value.isNull() ? QVariant(DataModule::memoText(value))
                                                              : value);
        }
        row.key = row.values.first().toString();
        if (stamped) {
            row.stamp = query.value(n).toLongLong();
            row.changedAt = query.value(n + 1).toDateTime();
            row.changedBy = query.value(n + 2).toString();
        }
        if (!each(std::move(row)))
            return true;
    }
    return true;
}

bool read(const QSqlDatabase &db, const Columns &columns, const QString &where,
          const QVariantList &bound, Table *table, QString *error, bool stamped)
{
    return forEach(
        db, columns, where, bound, stamped,
        [table](Row &&row) {
            const QString key = row.key.trimmed();
            if (!table->byKey.contains(key))
                table->byKey.insert(key, int(table->rows.size()));
            table->rows.append(std::move(row));
            return true;
        },
        error);
}

bool readOne(const QSqlDatabase &db, const Columns &columns, const QString &key, Row *row,
             QString *error, bool stamped)
{
    Table table;
    *row = Row();
    if (!read(db, columns, QStringLiteral("WHERE CODE_CLIENT = ?"), {key}, &table, error, stamped))
        return false;
    if (table.rows.isEmpty())
        return false;
    *row = table.rows.first();
    return true;
}

QString insertText(const QStringList &columns, const QStringList &extra)
{
    const QStringList all = columns + extra;
    return QStringLiteral("INSERT INTO CLIENTS (") + all.join(QStringLiteral(", "))
           + QStringLiteral(") VALUES (")
           + QStringList(all.size(), QStringLiteral("?")).join(QStringLiteral(", "))
           + QLatin1Char(')');
}

QString digest(const QVariant &value)
{
    if (value.isNull())
        return QStringLiteral("-");
    QByteArray bytes;
    switch (value.typeId()) {
    case QMetaType::QByteArray:
        bytes = "b" + value.toByteArray();
        break;
    case QMetaType::QDate:
        bytes = "d" + value.toDate().toString(Qt::ISODate).toUtf8();
        break;
    case QMetaType::QDateTime:
        bytes = "t" + value.toDateTime().toString(Qt::ISODateWithMs).toUtf8();
        break;
    case QMetaType::QString: {
        QString text = value.toString();
        while (text.endsWith(QLatin1Char(' ')))
            text.chop(1);
        bytes = "s" + text.toUtf8();
        break;
    }
    default:
        bytes = "s" + value.toString().toUtf8();
    }
    return QString::fromLatin1(
        QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex().left(16));
}

QString digests(const QStringList &columns, const Row &row)
{
    QStringList parts;
    for (int i = 1; i < columns.size() && i < row.values.size(); ++i)
        parts.append(columns.at(i) + QLatin1Char('=') + digest(row.values.at(i)));
    return parts.join(QLatin1Char(';'));
}

QHash<QString, QString> parseDigests(const QString &text)
{
    QHash<QString, QString> out;
    for (const QString &part : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const int eq = int(part.indexOf(QLatin1Char('=')));
        if (eq > 0)
            out.insert(part.left(eq), part.mid(eq + 1));
    }
    return out;
}

bool isBlank(const QVariant &value)
{
    if (value.isNull())
        return true;
    if (value.typeId() == QMetaType::QByteArray) {
        const QByteArray bytes = value.toByteArray();
        return bytes.isEmpty() || bytes == "0";
    }
    const QString text = value.toString().trimmed();
    return text.isEmpty();
}

QString displayText(const QVariant &value)
{
    if (value.isNull())
        return QString();
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    if (value.typeId() == QMetaType::QByteArray)
        return QString();
    return value.toString();
}

bool exec(QSqlQuery &query, const QVariantList &values, QString *error)
{
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    if (query.exec())
        return true;
    setError(error, query.lastError().text());
    return false;
}

} // namespace ClientRows
