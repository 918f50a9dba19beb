#pragma once

#include <QString>

// Where the embedded Firebird engine keeps its lock files. By default that is /tmp/firebird,
// shared by every user of the machine. A Firebird server on the same machine makes the folder
// its own (owner firebird, mode 0770), and the engine of a user outside the firebird group
// then cannot open any base at all. Such a user gets a lock folder of their own.
class FirebirdLockFolder
{
public:
    // Call before the first base is opened; the processes this one starts (gbak) inherit the
    // choice. Leaves FIREBIRD_LOCK alone when it is set or the shared folder is usable.
    static void prepare();

    // The folder to use instead of `standard`, or an empty string when `standard` will do:
    // it is missing (the engine makes it) or this user may create files in it.
    static QString replacementFor(const QString &standard, const QString &ownFolder);
};
