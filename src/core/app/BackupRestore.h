#pragma once

#include "BackupStore.h"
#include "Gbak.h"

// Puts the client base of one of the program's backups in place of the data folder's base.
//
// prepare() restores the backup into a new file beside the base and checks that the file opens
// and holds the clients and tests the backup was made with; only then, with the base closed,
// replace() renames it over the base in one step. A backup that does not restore, or restores
// to other counts, changes nothing.
class BackupRestore
{
public:
    struct Result
    {
        bool ok = false;
        bool cancelled = false;
        QString error;
        QString prepared; // the restored file, ready for replace()
        BaseFacts::Counts counts;
    };

    // Runs gbak; call it on a worker thread when a window must stay responsive.
    static Result prepare(const BackupStore::Entry &entry, const QString &basePath,
                          const Gbak::Progress &progress = {},
                          const Gbak::Cancelled &cancelled = {});
    // The base at `basePath` must not be open.
    static bool replace(const QString &prepared, const QString &basePath, QString *error = nullptr);
};
