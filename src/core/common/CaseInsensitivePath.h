#pragma once

#include <QString>

// Files copied from another installation may carry another spelling of their names
// (Options.INI, BASE.FDB). Each file has one canonical spelling; an existing file is found
// whatever the case of its name.
class CaseInsensitivePath
{
public:
    // The existing entry of `dir` whose name equals `name` without regard to case, preferring
    // the exact spelling; dir + name when there is none.
    static QString resolve(const QString &dir, const QString &name);
    // Same for a full path (only the last component is matched without case).
    static QString resolve(const QString &path);
};
