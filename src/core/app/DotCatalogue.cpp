#include "DotCatalogue.h"

#include <QStringList>

#include "AppPaths.h"
#include "common/IniFile.h"

QString DotCatalogue::defaultPath()
{
    return AppPaths::installFile(QStringLiteral("Dots.INI"));
}

void DotCatalogue::load(const QString &path)
{
    const IniFile ini(path);
    for (int i = 1; i <= Count; ++i) {
        const QString s = QString::number(i);
        DotRecord &d = m_entries[i];
        d = DotRecord{};
        d.name = ini.readString(s, QStringLiteral("name"));
        d.meridian = ini.readString(s, QStringLiteral("meridian"));
        d.energy = ini.readString(s, QStringLiteral("energy"));
        d.comment = ini.readString(s, QStringLiteral("comment"));
        d.cx = ini.readInteger(s, QStringLiteral("cx"), 1);
        d.cy = ini.readInteger(s, QStringLiteral("cy"), 1);
        d.col = ini.readInteger(s, QStringLiteral("col"), 1);
        d.row = ini.readInteger(s, QStringLiteral("row"), 1);
        d.inyan = ini.readBool(s, QStringLiteral("inyan"), true);
        d.leftright = ini.readBool(s, QStringLiteral("leftright"), true);
        d.picture = ini.readString(s, QStringLiteral("picture"));
    }
}

const DotRecord &DotCatalogue::entry(int index) const
{
    if (index < 1 || index > Count)
        return m_entries[0];
    return m_entries[index];
}

QString DotCatalogue::displayText(const QString &value,
                                  const std::function<QString(const QString &)> &lookup)
{
    QStringList parts;
    for (const QString &part : value.split(QLatin1Char(';'))) {
        const QString key = part.trimmed();
        if (key.isEmpty())
            continue;
        const QString text = lookup ? lookup(key) : QString();
        parts.append(text.isEmpty() ? key : text);
    }
    QString shown = parts.join(QStringLiteral("; "));
    if (!shown.isEmpty())
        shown[0] = shown.at(0).toUpper();
    return shown;
}
