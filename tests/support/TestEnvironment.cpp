#include "TestEnvironment.h"

#include "app/AppPaths.h"

#include <QDir>

TestEnvironment::TestEnvironment()
    : m_previous(qgetenv("XDG_DATA_HOME"))
{
    qputenv("XDG_DATA_HOME", m_profile.path().toUtf8());
    AppPaths::setInstallFolder(installDir());
}

TestEnvironment::~TestEnvironment()
{
    qputenv("XDG_DATA_HOME", m_previous);
}

QString TestEnvironment::dataFolder() const
{
    return AppPaths::GetDataPath();
}

QString TestEnvironment::installDir()
{
    return QStringLiteral(VANDREL_TEST_INSTALL_DIR);
}

QString TestEnvironment::sourceDir()
{
    return QStringLiteral(VANDREL_TEST_SOURCE_DIR);
}

QString TestEnvironment::scratch(const QString &name) const
{
    const QString path = m_profile.path() + QStringLiteral("/scratch/") + name;
    QDir().mkpath(path);
    return path;
}
