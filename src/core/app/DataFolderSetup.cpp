#include "DataFolderSetup.h"

#include "AppPaths.h"
#include "common/CaseInsensitivePath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

const QStringList &DataFolderSetup::seedFiles()
{
    static const QStringList files = {
        QStringLiteral("Options.ini"), QStringLiteral("BASE.fdb"),   QStringLiteral("Remember.ini"),
        QStringLiteral("Print.html"),  QStringLiteral("Result.js"),  QStringLiteral("print-copy.html"),
    };
    return files;
}

void DataFolderSetup::copyIfMissing(const QString &from, const QString &to)
{
    // A copy made under another spelling of the name counts as present.
    if (QFileInfo::exists(CaseInsensitivePath::resolve(to)))
        return;
    if (!QFileInfo::exists(from))
        return;
    // Copy under a temporary name first so an interrupted copy never leaves half a base.
    const QString partial = to + QStringLiteral(".partial");
    QFile::remove(partial);
    if (QFile::copy(from, partial)) {
        QFile(partial).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                      | QFile::ReadOther);
        if (!QFile::rename(partial, to))
            QFile::remove(partial);
    }
}

void DataFolderSetup::copyFolder(const QString &fromDir, const QString &toDir,
                                 const QString &pattern)
{
    const QDir source(fromDir);
    const QStringList names = source.entryList({pattern}, QDir::Files | QDir::NoDotAndDotDot,
                                               QDir::Name);
    for (const QString &name : names)
        copyIfMissing(source.filePath(name), toDir + QLatin1Char('/') + name);
}

void DataFolderSetup::run()
{
    const QString maker = AppPaths::makerFolder();
    const QString data = AppPaths::GetDataPath();
    const QString seeds = CaseInsensitivePath::resolve(AppPaths::installFolder(),
                                                       QStringLiteral("Q7"));

    for (const QString &file : seedFiles())
        copyIfMissing(CaseInsensitivePath::resolve(seeds, file), data + file);

    QDir().mkpath(maker + QStringLiteral("/Data"));
    QDir().mkpath(data + QStringLiteral("Data"));
    QDir().mkpath(data + QStringLiteral("print_pict"));
    QDir().mkpath(data + QStringLiteral("languages"));

    copyFolder(CaseInsensitivePath::resolve(seeds, QStringLiteral("languages")),
               data + QStringLiteral("languages"), QStringLiteral("*.lang"));
    copyFolder(CaseInsensitivePath::resolve(seeds, QStringLiteral("print_pict")),
               data + QStringLiteral("print_pict"), QStringLiteral("*.bmp"));
    copyFolder(CaseInsensitivePath::resolve(seeds, QStringLiteral("Data")),
               data + QStringLiteral("Data"), QStringLiteral("*.dat"));
    copyFolder(AppPaths::installFile(QStringLiteral("DeviceData")), maker + QStringLiteral("/Data"),
               QStringLiteral("*.so"));
}
