#pragma once

#include "Gbak.h"

#include <QSqlDatabase>
#include <QString>

#include <functional>

// Rebuilds the client base from a backup of itself, which leaves behind the transactions that
// kills cut off.
//
// The program never sweeps its bases (see AutomaticSweep), so after a save cut off by a kill
// the base's oldest interesting transaction stays where it was, and each transaction starts
// with a little more work the further behind it lies: about 0.2 ms more per read after a
// million transactions (bench/transaction_gap). A backup holds only what was committed, and
// the base restored from it starts its transactions afresh.
//
// The base must be closed. The backup and the new base are made in a folder beside it; the
// new base must hold as many rows in every table as the old one, and only then takes its
// place in one rename. Anything that fails or is cancelled leaves the base as it was.
class BaseRebuild
{
public:
    // From this many transactions behind, the start rebuilds the base.
    static constexpr qint64 DueFrom = 1000000;

    struct Result
    {
        bool ok = false;
        bool cancelled = false;
        QString error;
    };

    // Whether the open base `db` should be rebuilt.
    static bool due(const QSqlDatabase &db, qint64 from = DueFrom);
    // How far the rebuild has come, 0 to 100.
    using Progress = std::function<void(int percent)>;

    // Runs gbak twice; call it on a worker thread when a window must stay responsive.
    static Result run(const QString &basePath, const Progress &progress = {},
                      const Gbak::Cancelled &cancelled = {});
};
