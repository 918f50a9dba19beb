#include "CaseInsensitivePath.h"

#include <QDir>
#include <QFileInfo>

QString CaseInsensitivePath::resolve(const QString &dir, const QString &name)
{
    const QDir folder(dir);
    const QString exact = folder.filePath(name);
    if (QFileInfo::exists(exact))
        return exact;
    const QStringList entries = folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                                 | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return folder.filePath(entry);
    }
    return exact;
}

QString CaseInsensitivePath::resolve(const QString &path)
{
    const QFileInfo info(path);
    return resolve(info.path(), info.fileName());
}
