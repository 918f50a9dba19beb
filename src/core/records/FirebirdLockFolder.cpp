#include "FirebirdLockFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

void FirebirdLockFolder::prepare()
{
    if (qEnvironmentVariableIsSet("FIREBIRD_LOCK"))
        return;
    // The user's runtime folder (0700, emptied at logout), as the shared folder is emptied at boot.
    const QString own = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)
                        + QStringLiteral("/firebird");
    const QString folder = replacementFor(QStringLiteral("/tmp/firebird"), own);
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return;
    qputenv("FIREBIRD_LOCK", QFile::encodeName(folder));
}

QString FirebirdLockFolder::replacementFor(const QString &standard, const QString &ownFolder)
{
    const QFileInfo info(standard);
    if (!info.exists())
        return {};
    if (info.isDir() && info.isWritable() && info.isExecutable())
        return {};
    return ownFolder;
}
