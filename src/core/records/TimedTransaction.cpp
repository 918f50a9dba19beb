#include "TimedTransaction.h"

#include "FirebirdStatus.h"
#include "common/ErrorOut.h"

#include <QSqlDriver>
#include <QVariant>

#include <ibase.h>

#include <type_traits>

static_assert(std::is_same_v<isc_db_handle, unsigned int>
              && std::is_same_v<isc_tr_handle, unsigned int>);

namespace {

QByteArray transactionParameters(int waitSeconds, const QString &reservedTable)
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
    if (!reservedTable.isEmpty()) {
        const QByteArray table = reservedTable.toLatin1();
        tpb.append(char(isc_tpb_lock_write));
        tpb.append(char(table.size()));
        tpb.append(table);
        tpb.append(char(isc_tpb_protected));
    }
    return tpb;
}

QString notOpen()
{
    return QStringLiteral("no transaction is open");
}

} // namespace

TimedTransaction::~TimedTransaction()
{
    rollback();
}

bool TimedTransaction::begin(const QSqlDatabase &db, int waitSeconds, QString *error,
                             const QString &reservedTable)
{
    rollback();
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (db.driverName() != QLatin1String("QIBASE") || !db.isOpen()
        || handle.metaType() != QMetaType::fromType<isc_db_handle>()) {
        setError(error, QStringLiteral("The base is not open through the Firebird driver."));
        return false;
    }
    m_base = *static_cast<const isc_db_handle *>(handle.constData());
    const QByteArray tpb = transactionParameters(waitSeconds, reservedTable);
    ISC_STATUS_ARRAY status;
    if (isc_start_transaction(status, &m_transaction, 1, &m_base, ISC_USHORT(tpb.size()),
                              tpb.constData())) {
        m_transaction = 0;
        setError(error, reservedTable.isEmpty()
                            ? QStringLiteral("Cannot start a transaction: ")
                                  + firebirdStatusText(status)
                            : QStringLiteral("The table %1 could not be reserved: %2")
                                  .arg(reservedTable, firebirdStatusText(status)));
        return false;
    }
    return true;
}

bool TimedTransaction::execute(const QString &statement, QString *error)
{
    const QByteArray text = statement.toUtf8();
    ISC_STATUS_ARRAY status;
    if (m_transaction
        && !isc_dsql_execute_immediate(status, &m_base, &m_transaction, 0, text.constData(),
                                       SQL_DIALECT_V6, nullptr))
        return true;
    setError(error, QStringLiteral("Cannot run %1: %2")
                        .arg(statement.left(80),
                             m_transaction ? firebirdStatusText(status) : notOpen()));
    rollback();
    return false;
}

bool TimedTransaction::commit(QString *error)
{
    ISC_STATUS_ARRAY status;
    if (m_transaction && !isc_commit_transaction(status, &m_transaction))
        return true;
    setError(error, QStringLiteral("Cannot commit: ")
                        + (m_transaction ? firebirdStatusText(status) : notOpen()));
    rollback();
    return false;
}

void TimedTransaction::rollback()
{
    if (!m_transaction)
        return;
    ISC_STATUS_ARRAY status;
    if (isc_rollback_transaction(status, &m_transaction))
        m_transaction = 0; // the attachment is gone, and the transaction with it
}

bool TimedTransaction::runReserved(const QSqlDatabase &db, const QString &reservedTable,
                                   const QStringList &statements, int waitSeconds,
                                   QString *error)
{
    TimedTransaction transaction;
    if (!transaction.begin(db, waitSeconds, error, reservedTable))
        return false;
    for (const QString &statement : statements) {
        if (!transaction.execute(statement, error))
            return false;
    }
    return transaction.commit(error);
}
