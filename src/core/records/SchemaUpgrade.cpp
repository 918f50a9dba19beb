#include "SchemaUpgrade.h"

#include "common/ErrorOut.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace {

// RDB$FIELDS.RDB$FIELD_TYPE of the string types.
constexpr int FieldTypeChar = 14;
constexpr int FieldTypeVarchar = 37;

struct ColumnInfo
{
    bool exists = false;
    int type = 0;
    int width = 0;
    QString charset;   // empty: the base's default
    QString collation; // empty: the character set's default
};

struct KeyConstraint
{
    QString name;
    QString type; // PRIMARY KEY, UNIQUE, FOREIGN KEY
    QString table;
    QString index;
    bool descending = false;
    QStringList fields;
    // Foreign keys only.
    QString refTable;
    QStringList refFields;
    QString updateRule;
    QString deleteRule;
};

QString quoted(const QString &identifier)
{
    QString text = identifier;
    text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString quotedList(const QStringList &identifiers)
{
    QStringList parts;
    for (const QString &identifier : identifiers)
        parts.append(quoted(identifier));
    return parts.join(QStringLiteral(", "));
}

bool run(QSqlQuery &query, const QString &what, QString *error)
{
    if (query.exec())
        return true;
    setError(error, what + QStringLiteral(": ") + query.lastError().text());
    return false;
}

ColumnInfo columnInfo(const QSqlDatabase &db, const QString &table, const QString &column)
{
    ColumnInfo info;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral(
        "SELECT F.RDB$FIELD_TYPE, COALESCE(F.RDB$CHARACTER_LENGTH, F.RDB$FIELD_LENGTH), "
        "CS.RDB$CHARACTER_SET_NAME, CO.RDB$COLLATION_NAME, "
        "COALESCE(RF.RDB$COLLATION_ID, F.RDB$COLLATION_ID, 0) "
        "FROM RDB$RELATION_FIELDS RF "
        "JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE "
        "LEFT JOIN RDB$CHARACTER_SETS CS ON CS.RDB$CHARACTER_SET_ID = F.RDB$CHARACTER_SET_ID "
        "LEFT JOIN RDB$COLLATIONS CO ON CO.RDB$CHARACTER_SET_ID = F.RDB$CHARACTER_SET_ID "
        "  AND CO.RDB$COLLATION_ID = COALESCE(RF.RDB$COLLATION_ID, F.RDB$COLLATION_ID, 0) "
        "WHERE RF.RDB$RELATION_NAME = ? AND RF.RDB$FIELD_NAME = ?"));
    query.addBindValue(table);
    query.addBindValue(column);
    if (!query.exec() || !query.next())
        return info;
    info.exists = true;
    info.type = query.value(0).toInt();
    info.width = query.value(1).toInt();
    info.charset = query.value(2).toString().trimmed();
    if (query.value(4).toInt() != 0)
        info.collation = query.value(3).toString().trimmed();
    return info;
}

QStringList indexFields(const QSqlDatabase &db, const QString &index)
{
    QStringList fields;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT RDB$FIELD_NAME FROM RDB$INDEX_SEGMENTS "
                                 "WHERE RDB$INDEX_NAME = ? ORDER BY RDB$FIELD_POSITION"));
    query.addBindValue(index);
    if (query.exec()) {
        while (query.next())
            fields.append(query.value(0).toString().trimmed());
    }
    return fields;
}

QString ruleText(const QString &rule)
{
    const QString text = rule.trimmed().toUpper();
    if (text == QLatin1String("CASCADE") || text == QLatin1String("SET NULL")
        || text == QLatin1String("SET DEFAULT"))
        return text;
    return QStringLiteral("NO ACTION"); // stored as RESTRICT
}

bool loadConstraint(const QSqlDatabase &db, const QString &name, KeyConstraint *out, QString *error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral(
        "SELECT RC.RDB$CONSTRAINT_TYPE, RC.RDB$RELATION_NAME, RC.RDB$INDEX_NAME, "
        "COALESCE(I.RDB$INDEX_TYPE, 0), REF.RDB$CONST_NAME_UQ, REF.RDB$UPDATE_RULE, "
        "REF.RDB$DELETE_RULE, UQ.RDB$RELATION_NAME, UQ.RDB$INDEX_NAME "
        "FROM RDB$RELATION_CONSTRAINTS RC "
        "LEFT JOIN RDB$INDICES I ON I.RDB$INDEX_NAME = RC.RDB$INDEX_NAME "
        "LEFT JOIN RDB$REF_CONSTRAINTS REF ON REF.RDB$CONSTRAINT_NAME = RC.RDB$CONSTRAINT_NAME "
        "LEFT JOIN RDB$RELATION_CONSTRAINTS UQ ON UQ.RDB$CONSTRAINT_NAME = REF.RDB$CONST_NAME_UQ "
        "WHERE RC.RDB$CONSTRAINT_NAME = ?"));
    query.addBindValue(name);
    if (!run(query, QStringLiteral("Cannot read the key ") + name, error))
        return false;
    if (!query.next()) {
        setError(error, QStringLiteral("The key %1 vanished while the base was read.").arg(name));
        return false;
    }
    out->name = name;
    out->type = query.value(0).toString().trimmed();
    out->table = query.value(1).toString().trimmed();
    out->index = query.value(2).toString().trimmed();
    out->descending = query.value(3).toInt() == 1;
    out->fields = indexFields(db, out->index);
    if (out->type == QLatin1String("FOREIGN KEY")) {
        out->updateRule = ruleText(query.value(5).toString());
        out->deleteRule = ruleText(query.value(6).toString());
        out->refTable = query.value(7).toString().trimmed();
        out->refFields = indexFields(db, query.value(8).toString().trimmed());
    }
    return true;
}

// The keys that must be dropped to change the column: the keys that use it and the foreign
// keys that point at those.
bool keysOnColumn(const QSqlDatabase &db, const QString &table, const QString &column,
                  QStringList *names, QString *error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT RC.RDB$CONSTRAINT_NAME, RC.RDB$CONSTRAINT_TYPE "
                       "FROM RDB$RELATION_CONSTRAINTS RC "
                       "JOIN RDB$INDEX_SEGMENTS S ON S.RDB$INDEX_NAME = RC.RDB$INDEX_NAME "
                       "WHERE RC.RDB$RELATION_NAME = ? AND S.RDB$FIELD_NAME = ? "
                       "AND RC.RDB$CONSTRAINT_TYPE IN ('PRIMARY KEY', 'UNIQUE', 'FOREIGN KEY')"));
    query.addBindValue(table);
    query.addBindValue(column);
    if (!run(query, QStringLiteral("Cannot read the keys of ") + table, error))
        return false;
    QStringList referenced;
    while (query.next()) {
        const QString name = query.value(0).toString().trimmed();
        if (!names->contains(name))
            names->append(name);
        if (query.value(1).toString().trimmed() != QLatin1String("FOREIGN KEY"))
            referenced.append(name);
    }
    for (const QString &key : referenced) {
        QSqlQuery refs(db);
        refs.setForwardOnly(true);
        refs.prepare(QStringLiteral(
            "SELECT RDB$CONSTRAINT_NAME FROM RDB$REF_CONSTRAINTS WHERE RDB$CONST_NAME_UQ = ?"));
        refs.addBindValue(key);
        if (!run(refs, QStringLiteral("Cannot read the keys that refer to ") + key, error))
            return false;
        while (refs.next()) {
            const QString name = refs.value(0).toString().trimmed();
            if (!names->contains(name))
                names->append(name);
        }
    }
    return true;
}

QString addStatement(const KeyConstraint &key)
{
    QString sql = QStringLiteral("ALTER TABLE ") + quoted(key.table)
                  + QStringLiteral(" ADD CONSTRAINT ") + quoted(key.name) + QLatin1Char(' ')
                  + key.type + QStringLiteral(" (") + quotedList(key.fields) + QLatin1Char(')');
    if (key.type == QLatin1String("FOREIGN KEY")) {
        sql += QStringLiteral(" REFERENCES ") + quoted(key.refTable) + QStringLiteral(" (")
               + quotedList(key.refFields) + QStringLiteral(") ON UPDATE ") + key.updateRule
               + QStringLiteral(" ON DELETE ") + key.deleteRule;
    }
    // An index name the engine made itself (RDB$...) cannot be given back; it makes a new one.
    if (!key.index.startsWith(QLatin1String("RDB$"))) {
        sql += key.descending ? QStringLiteral(" USING DESCENDING INDEX ")
                              : QStringLiteral(" USING ASCENDING INDEX ");
        sql += quoted(key.index);
    }
    return sql;
}

struct Narrow
{
    SchemaUpgrade::Column column;
    ColumnInfo info;
};

// The string columns among `columns` that are narrower than `width`.
QList<Narrow> narrowColumns(const QSqlDatabase &db, const QList<SchemaUpgrade::Column> &columns,
                            int width)
{
    QList<Narrow> narrow;
    for (const SchemaUpgrade::Column &column : columns) {
        const ColumnInfo info = columnInfo(db, column.table, column.column);
        if (!info.exists || (info.type != FieldTypeChar && info.type != FieldTypeVarchar))
            continue;
        if (info.width < width)
            narrow.append({column, info});
    }
    return narrow;
}

const QList<SchemaUpgrade::Column> &phoneColumns()
{
    static const QList<SchemaUpgrade::Column> phones = {
        {QStringLiteral("CLIENTS"), QStringLiteral("TEL1")},
        {QStringLiteral("CLIENTS"), QStringLiteral("TEL2")},
        {QStringLiteral("CLIENTS"), QStringLiteral("TEL3")}};
    return phones;
}

bool hasIndex(const QSqlDatabase &db, const QString &name, QString *error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT COUNT(*) FROM RDB$INDICES WHERE RDB$INDEX_NAME = ?"));
    query.addBindValue(name);
    if (!run(query, QStringLiteral("Cannot read the indexes"), error) || !query.next())
        return false;
    return query.value(0).toInt() > 0;
}

} // namespace

const QList<SchemaUpgrade::Column> &SchemaUpgrade::clientCodeColumns()
{
    static const QList<Column> columns = {
        {QStringLiteral("CLIENTS"), QStringLiteral("CODE_CLIENT")},
        {QStringLiteral("TESTS"), QStringLiteral("CODE_CLIENT")},
        {QStringLiteral("REMINDER"), QStringLiteral("ID")},
        {QStringLiteral("INQUIRER"), QStringLiteral("ID")},
        {QStringLiteral("SYMPTOMS"), QStringLiteral("CODE_CLIENT")},
        {QStringLiteral("PUNCT_TREATMENT"), QStringLiteral("CODE_CLIENT")},
        {QStringLiteral("COLOR_TREATMENT"), QStringLiteral("CODE_CLIENT")},
        {QStringLiteral("FREQ_TREATMENT"), QStringLiteral("CODE_CLIENT")},
    };
    return columns;
}

int SchemaUpgrade::columnWidth(const QSqlDatabase &db, const QString &table, const QString &column)
{
    const ColumnInfo info = columnInfo(db, table, column);
    if (!info.exists || (info.type != FieldTypeChar && info.type != FieldTypeVarchar))
        return 0;
    return info.width;
}

bool SchemaUpgrade::widenClientCodes(const QSqlDatabase &db, QString *error, bool *changed)
{
    return widenColumns(db, clientCodeColumns(), ClientCodeWidth, error, changed);
}

bool SchemaUpgrade::widenPhones(const QSqlDatabase &db, QString *error, bool *changed)
{
    return widenColumns(db, phoneColumns(), PhoneWidth, error, changed);
}

bool SchemaUpgrade::widenColumns(const QSqlDatabase &db, const QList<Column> &columns, int width,
                                 QString *error, bool *changed)
{
    if (changed)
        *changed = false;
    const QList<Narrow> narrow = narrowColumns(db, columns, width);
    if (narrow.isEmpty())
        return true;

    QStringList keyNames;
    for (const Narrow &n : narrow) {
        if (!keysOnColumn(db, n.column.table, n.column.column, &keyNames, error))
            return false;
    }
    QList<KeyConstraint> keys;
    for (const QString &name : keyNames) {
        KeyConstraint key;
        if (!loadConstraint(db, name, &key, error))
            return false;
        keys.append(key);
    }
    // Foreign keys go first and come back last, so no key is dropped while another points
    // at it.
    std::stable_sort(keys.begin(), keys.end(), [](const KeyConstraint &a, const KeyConstraint &b) {
        return (a.type == QLatin1String("FOREIGN KEY")) > (b.type == QLatin1String("FOREIGN KEY"));
    });

    QStringList statements;
    for (const KeyConstraint &key : keys)
        statements.append(QStringLiteral("ALTER TABLE ") + quoted(key.table)
                          + QStringLiteral(" DROP CONSTRAINT ") + quoted(key.name));
    for (const Narrow &n : narrow) {
        QString type = QStringLiteral("VARCHAR(%1)").arg(width);
        if (!n.info.charset.isEmpty())
            type += QStringLiteral(" CHARACTER SET ") + n.info.charset;
        if (!n.info.collation.isEmpty())
            type += QStringLiteral(" COLLATE ") + n.info.collation;
        statements.append(QStringLiteral("ALTER TABLE ") + quoted(n.column.table)
                          + QStringLiteral(" ALTER COLUMN ") + quoted(n.column.column)
                          + QStringLiteral(" TYPE ") + type);
    }
    for (auto it = keys.crbegin(); it != keys.crend(); ++it)
        statements.append(addStatement(*it));

    // All of it in one transaction: a base is never left without its keys.
    QSqlDatabase database = db;
    if (!database.transaction()) {
        setError(error,
                 QStringLiteral("Cannot start a transaction: ") + database.lastError().text());
        return false;
    }
    for (const QString &sql : std::as_const(statements)) {
        QSqlQuery query(database);
        if (!query.exec(sql)) {
            const QString text = query.lastError().text();
            query.clear();
            database.rollback();
            setError(
                error,
                QStringLiteral("Cannot widen the columns (%1): %2").arg(sql, text));
            return false;
        }
    }
    if (!database.commit()) {
        const QString text = database.lastError().text();
        database.rollback();
        setError(error, QStringLiteral("Cannot widen the columns: ") + text);
        return false;
    }
    if (changed)
        *changed = true;

    // A former CHAR column hands its values back padded to the old width; the new column
    // keeps them as they were meant.
    for (const Narrow &n : narrow) {
        if (n.info.type != FieldTypeChar)
            continue;
        const QString column = quoted(n.column.column);
        QSqlQuery query(database);
        const QString sql = QStringLiteral("UPDATE ") + quoted(n.column.table)
                            + QStringLiteral(" SET ") + column
                            + QStringLiteral(" = TRIM(TRAILING FROM ") + column
                            + QStringLiteral(") WHERE CHAR_LENGTH(") + column
                            + QStringLiteral(") <> CHAR_LENGTH(TRIM(TRAILING FROM ") + column
                            + QStringLiteral("))");
        if (!query.exec(sql)) {
            setError(error, QStringLiteral("Cannot trim the values of %1: %2")
                                .arg(n.column.table, query.lastError().text()));
            return false;
        }
    }
    return true;
}

bool SchemaUpgrade::ensureClientLookupIndex(const QSqlDatabase &db, QString *error)
{
    QString readError;
    if (hasIndex(db, clientLookupIndex(), &readError))
        return true;
    if (!readError.isEmpty()) {
        setError(error, readError);
        return false;
    }
    QSqlQuery create(db);
    if (!create.exec(QStringLiteral("CREATE INDEX ") + clientLookupIndex()
                     + QStringLiteral(" ON TESTS COMPUTED BY (UPPER(CODE_CLIENT))"))) {
        setError(error, QStringLiteral("Cannot make the index of the tests by client: ")
                            + create.lastError().text());
        return false;
    }
    return true;
}

bool SchemaUpgrade::isCurrent(const QSqlDatabase &db)
{
    return narrowColumns(db, clientCodeColumns(), ClientCodeWidth).isEmpty()
           && narrowColumns(db, phoneColumns(), PhoneWidth).isEmpty()
           && hasIndex(db, clientLookupIndex(), nullptr);
}
