#include "ReservedDdl.h"

#include "FirebirdStatus.h"
#include "common/ErrorOut.h"

#include <QSqlDriver>
#include <QVariant>

namespace {

QByteArray transactionParameters(const QString &reservedTable, int waitSeconds)
{
    QByteArray tpb;
    tpb.append(char(isc_tpb_version3));
    tpb.append(char(isc_tpb_write));
    tpb.append(char(isc_tpb_concurrency));
    tpb.append(char(isc_tpb_wait));
    tpb.append(char(isc_tpb_lock_timeout));
    tpb.append(char(4));
    for (int shift = 0; shift < 32; shift += 8)
        tpb.append(char((quint32(waitSeconds) >> shift) & 0xff));
    const QByteArray table = reservedTable.toLatin1();
    tpb.append(char(isc_tpb_lock_write));
    tpb.append(char(table.size()));
    tpb.append(table);
    tpb.append(char(isc_tpb_protected));
    return tpb;
}

} // namespace

ReservedTurn::~ReservedTurn()
{
    rollback();
}

bool ReservedTurn::begin(const QSqlDatabase &db, const QString &reservedTable, int waitSeconds,
                         QString *error)
{
    rollback();
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (db.driverName() != QLatin1String("QIBASE")
        || handle.metaType() != QMetaType::fromType<isc_db_handle>() || !db.isOpen()) {
        setError(error, QStringLiteral("The base is not open through the Firebird driver."));
        return false;
    }
    m_base = *static_cast<const isc_db_handle *>(handle.constData());
    const QByteArray tpb = transactionParameters(reservedTable, waitSeconds);
    ISC_STATUS_ARRAY status;
    if (isc_start_transaction(status, &m_transaction, 1, &m_base, ISC_USHORT(tpb.size()),
                              tpb.constData())) {
        m_transaction = 0;
        setError(error, QStringLiteral("The table %1 could not be reserved for a change of the "
                                       "base: %2")
                            .arg(reservedTable, firebirdStatusText(status)));
        return false;
    }
    return true;
}

bool ReservedTurn::execute(const QString &statement, QString *error)
{
    const QByteArray text = statement.toUtf8();
    ISC_STATUS_ARRAY status;
    if (m_transaction
        && !isc_dsql_execute_immediate(status, &m_base, &m_transaction, 0, text.constData(),
                                       SQL_DIALECT_V6, nullptr))
        return true;
    setError(error, QStringLiteral("Cannot change the structure of the base (%1): %2")
                        .arg(statement.left(80),
                             m_transaction ? firebirdStatusText(status)
                                           : QStringLiteral("no turn is open")));
    rollback();
    return false;
}

bool ReservedTurn::commit(QString *error)
{
    ISC_STATUS_ARRAY status;
    if (m_transaction && !isc_commit_transaction(status, &m_transaction))
        return true;
    setError(error, QStringLiteral("Cannot change the structure of the base: ")
                        + (m_transaction ? firebirdStatusText(status)
                                         : QStringLiteral("no turn is open")));
    rollback();
    return false;
}

void ReservedTurn::rollback()
{
    if (!m_transaction)
        return;
    ISC_STATUS_ARRAY status;
    if (isc_rollback_transaction(status, &m_transaction))
        m_transaction = 0; // the attachment is gone; so is the transaction
}

bool ReservedDdl::run(const QSqlDatabase &db, const QString &reservedTable,
                      const QStringList &statements, int waitSeconds, QString *error)
{
    ReservedTurn turn;
    if (!turn.begin(db, reservedTable, waitSeconds, error))
        return false;
    for (const QString &statement : statements) {
        if (!turn.execute(statement, error))
            return false;
    }
    return turn.commit(error);
}
