#pragma once

#include <QString>

// Seeds the per-user data folder from the install folder at every start. A file that exists
// in the data folder is never overwritten, so the user's base and settings survive a
// re-installation; a seed file the user removed comes back. Copy failures are not reported:
// start-up goes on with whatever exists.
class DataFolderSetup
{
public:
    // The seed files copied one by one, in this order, from <install>/Q7/.
    static const QStringList &seedFiles();
    static void run();

private:
    static void copyIfMissing(const QString &from, const QString &to);
    static void copyFolder(const QString &fromDir, const QString &toDir, const QString &pattern);
};
