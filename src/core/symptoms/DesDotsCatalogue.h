#pragma once

#include "common/IniFile.h"
#include "treatment/AtlasPosition.h"

#include <QList>
#include <QString>

// The point-picture file DesDots.INI of the install folder: [Count] value=N, then entries
// [0] .. [N-1], each with the letter code a typed point must equal ("name"), its picture and
// marks, the fill colour of the marks ("Color") and the font colour of the point labels
// ("color"; the file is read with Windows rules, where key names ignore letter case, so one
// line serves both).
class DesDotsCatalogue
{
public:
    struct Entry
    {
        QString name;
        AtlasPosition position;
        int fontColor = 0;
    };

    static QString fileName() { return QStringLiteral("DesDots.INI"); }
    // Entries beyond this are not read, whatever the count says.
    static constexpr int MaxEntries = 1000;

    // The file of the install folder.
    DesDotsCatalogue();
    explicit DesDotsCatalogue(const IniFile &file);

    int count() const { return int(m_entries.size()); }
    // k in 0 .. count() - 1.
    const Entry &entry(int k) const { return m_entries.at(k); }
    bool isValid(int k) const { return k >= 0 && k < count(); }
    // The first entry whose name equals `name` exactly (letter case counts); -1 when none.
    int find(const QString &name) const;

private:
    QList<Entry> m_entries;
};
