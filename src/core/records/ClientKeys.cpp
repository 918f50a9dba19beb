#include "ClientKeys.h"

#include "app/AppPaths.h"
#include "common/IniFile.h"
#include "DataModule.h"
#include "SchemaUpgrade.h"

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
