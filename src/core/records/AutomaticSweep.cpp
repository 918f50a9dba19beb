#include "AutomaticSweep.h"

#include "common/ErrorOut.h"
#include "DataModule.h"
#include "FirebirdStatus.h"

#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <ibase.h>

namespace {

std::optional<qint64> readDatabaseFigure(const QSqlDatabase &db, const QString &expression,
                                         QString *error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT ") + expression + QStringLiteral(" FROM MON$DATABASE"))
        || !query.next()) {
        setError(error, QStringLiteral("The transaction marks of the base cannot be read: ")
                            + query.lastError().text());
        return std::nullopt;
    }
    return query.value(0).toLongLong();
}

} // namespace

std::optional<qint64> AutomaticSweep::interval(const QSqlDatabase &db, QString *error)
{
    return readDatabaseFigure(db, QStringLiteral("MON$SWEEP_INTERVAL"), error);
}

std::optional<qint64> AutomaticSweep::transactionsBehind(const QSqlDatabase &db, QString *error)
{
    return readDatabaseFigure(db, QStringLiteral("MON$NEXT_TRANSACTION - MON$OLDEST_TRANSACTION"),
                              error);
}

void AutomaticSweep::keepOff(const QSqlDatabase &db)
{
    const QString path = db.databaseName();
    if (DataModule::isServerPath(path) || interval(db).value_or(0) == 0)
        return;
    QString error;
    if (!switchOff(path, &error))
        qWarning("%s", qPrintable(error));
}

bool AutomaticSweep::switchOff(const QString &path, QString *error)
{
    QByteArray dpb;
    dpb.append(char(isc_dpb_version1));
    dpb.append(char(isc_dpb_user_name));
    dpb.append(char(6));
    dpb.append("SYSDBA");
    dpb.append(char(isc_dpb_sweep_interval));
    dpb.append(char(4));
    dpb.append(QByteArray(4, '\0'));
    ISC_STATUS_ARRAY status;
    isc_db_handle handle = 0;
    const QByteArray name = QFile::encodeName(path);
    if (isc_attach_database(status, 0, name.constData(), &handle, short(dpb.size()),
                            dpb.constData())) {
        setError(error, QStringLiteral("The automatic sweep of the base %1 could not be turned "
                                       "off: %2")
                            .arg(QDir::toNativeSeparators(path), firebirdStatusText(status)));
        return false;
    }
    isc_detach_database(status, &handle);
    return true;
}
