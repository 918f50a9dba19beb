#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// A transaction of its own on an open base whose waits for another's locks end after
// `waitSeconds` with an error, where the driver's own transactions would wait for good: on a
// base other workstations share, one that dropped off in the middle of its work keeps its
// locks until the server notices, which can take hours. It may first reserve a table for
// protected write, so that two workstations changing that table's structure take turns;
// left to change it side by side, the engine can keep both waiting on each other.
// A transaction neither committed nor rolled back is rolled back when it goes.
class TimedTransaction
{
public:
    TimedTransaction() = default;
    TimedTransaction(const TimedTransaction &) = delete;
    TimedTransaction &operator=(const TimedTransaction &) = delete;
    ~TimedTransaction();

    bool begin(const QSqlDatabase &db, int waitSeconds, QString *error,
               const QString &reservedTable = QString());
    bool execute(const QString &statement, QString *error);
    bool commit(QString *error);
    void rollback();

    // Runs the statements in one transaction that reserves `reservedTable`, kept together or
    // not at all.
    static bool runReserved(const QSqlDatabase &db, const QString &reservedTable,
                            const QStringList &statements, int waitSeconds, QString *error);

private:
    // The client library's handles, kept out of this header.
    using Handle = unsigned int;
    Handle m_base = 0;
    Handle m_transaction = 0;
};
