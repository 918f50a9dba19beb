#include "AppPaths.h"

#include "common/CaseInsensitivePath.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString g_installFolder;
}

QString AppPaths::installFolder()
{
    if (!g_installFolder.isEmpty())
        return g_installFolder;
    return QCoreApplication::applicationDirPath();
}

void AppPaths::setInstallFolder(const QString &folder)
{
    g_installFolder = QDir::cleanPath(folder);
}

QString AppPaths::profileFolder()
{
    const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
    if (!xdg.isEmpty())
        return QDir::cleanPath(xdg);
    return QDir::homePath() + QStringLiteral("/.local/share");
}

QString AppPaths::makerFolder()
{
    return profileFolder() + QStringLiteral("/Quillane");
}

QString AppPaths::GetDataPath()
{
    const QString path = makerFolder() + QStringLiteral("/Q7/");
    QDir().mkpath(path);
    return path;
}

QString AppPaths::installFile(const QString &relative)
{
    return CaseInsensitivePath::resolve(installFolder() + QLatin1Char('/') + relative);
}

QString AppPaths::dataFile(const QString &relative)
{
    return CaseInsensitivePath::resolve(GetDataPath() + relative);
}
