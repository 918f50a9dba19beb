#pragma once

#include <QSqlDatabase>
#include <QString>

#include <optional>

// The Firebird engine's automatic sweep, which the program keeps off for its bases.
//
// A save cut off by a kill, a crash or a power cut leaves a record version of a transaction
// that never committed; readers pass over it. A sweep is meant to remove such versions and
// then moves the base's oldest-interesting-transaction mark past them, and from then on the
// engine takes every transaction below that mark as committed. Firebird 3's sweep was seen to
// move the mark while such a version was still in the base, after a plain sweep of a closed
// base as much as after the automatic one: a save that the program had never confirmed then
// replaced the confirmed value, some days after the kill.
//
// Without a sweep the mark stays below such a transaction, and its version stays invisible.
// What that costs is a little work at the start of each transaction, growing with the number
// of transactions since the mark (see BaseRebuild, which resets it).
class AutomaticSweep
{
public:
    // The sweep interval of the base `db` is connected to: 0 when the engine never sweeps it
    // by itself.
    static std::optional<qint64> interval(const QSqlDatabase &db, QString *error = nullptr);
    // How many transactions lie between the base's oldest interesting one and its next one.
    static std::optional<qint64> transactionsBehind(const QSqlDatabase &db,
                                                    QString *error = nullptr);
    // Where `db` is connected to a base file of this machine that the engine may still sweep
    // by itself, turns that off. A base on a server is its administrator's. A failure is
    // logged and the base used all the same; its next opening tries again.
    static void keepOff(const QSqlDatabase &db);
    // Turns the engine's automatic sweep off for the base file at `path`, which this process
    // may hold open: one write of the base's header page.
    static bool switchOff(const QString &path, QString *error = nullptr);
};
