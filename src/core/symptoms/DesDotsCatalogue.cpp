#include "DesDotsCatalogue.h"

#include "app/AppPaths.h"

#include <algorithm>

DesDotsCatalogue::DesDotsCatalogue()
    : DesDotsCatalogue(IniFile(AppPaths::installFile(fileName())))
{
}

DesDotsCatalogue::DesDotsCatalogue(const IniFile &file)
{
    const int n = std::clamp(file.readInteger(QStringLiteral("Count"), QStringLiteral("value"), 0),
                             0, MaxEntries);
    m_entries.reserve(n);
    for (int k = 0; k < n; ++k) {
        const QString s = QString::number(k);
        Entry e;
        e.name = file.readString(s, QStringLiteral("name"));
        e.position.image = file.readString(s, QStringLiteral("image"), QStringLiteral("b"));
        e.position.left1 = file.readInteger(s, QStringLiteral("left1"), 0);
        e.position.top1 = file.readInteger(s, QStringLiteral("top1"), 0);
        e.position.left2 = file.readInteger(s, QStringLiteral("left2"), 0);
        e.position.top2 = file.readInteger(s, QStringLiteral("top2"), 0);
        e.position.color = file.readInteger(s, QStringLiteral("Color"), 0);
        e.fontColor = file.readInteger(s, QStringLiteral("color"), 0);
        m_entries.append(e);
    }
}

int DesDotsCatalogue::find(const QString &name) const
{
    if (name.isEmpty())
        return -1;
    for (int k = 0; k < count(); ++k) {
        if (m_entries.at(k).name == name)
            return k;
    }
    return -1;
}
