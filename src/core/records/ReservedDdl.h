#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <ibase.h>

// Changes to a base's structure made in one transaction of their own that first reserves a
// table for protected write. Two workstations that meet a new shared base at the same moment
// then take turns at the reservation; left to change the same table side by side, the engine
// can keep both waiting for good. A turn waited for longer than `waitSeconds` ends in an error
// and nothing of the statements is kept, so the caller may look again and retry.
class ReservedTurn
{
public:
    ReservedTurn() = default;
    ReservedTurn(const ReservedTurn &) = delete;
    ReservedTurn &operator=(const ReservedTurn &) = delete;
    // A turn not committed is rolled back.
    ~ReservedTurn();

    bool begin(const QSqlDatabase &db, const QString &reservedTable, int waitSeconds,
               QString *error);
    bool execute(const QString &statement, QString *error);
    bool commit(QString *error);

private:
    void rollback();

    isc_db_handle m_base = 0;
    isc_tr_handle m_transaction = 0;
};

namespace ReservedDdl {

// Runs the statements in one turn and commits them together.
bool run(const QSqlDatabase &db, const QString &reservedTable, const QStringList &statements,
         int waitSeconds, QString *error);

} // namespace ReservedDdl
