#include "AtlasPoints.h"

#include "app/AppPaths.h"

AtlasPoints::AtlasPoints()
    : m_file(AppPaths::installFile(fileName()))
{
}

AtlasPoints::AtlasPoints(const IniFile &file)
    : m_file(file)
{
}

bool AtlasPoints::contains(const QString &code) const
{
    const QString section = code.trimmed();
    return !section.isEmpty() && m_file.hasSection(section);
}

AtlasPosition AtlasPoints::position(const QString &code) const
{
    const QString section = code.trimmed();
    AtlasPosition p;
    if (section.isEmpty())
        return p;
    p.image = m_file.readString(section, QStringLiteral("image"), QStringLiteral("b"));
    p.left1 = m_file.readInteger(section, QStringLiteral("left1"), 0);
    p.top1 = m_file.readInteger(section, QStringLiteral("top1"), 0);
    p.left2 = m_file.readInteger(section, QStringLiteral("left2"), 0);
    p.top2 = m_file.readInteger(section, QStringLiteral("top2"), 0);
    p.color = m_file.readInteger(section, QStringLiteral("Color"), 0);
    return p;
}

bool AtlasPoints::linksTo(const QString &code)
{
    const QString c = code.trimmed();
    return !c.isEmpty() && !c.startsWith(QLatin1String("TH"), Qt::CaseInsensitive);
}
