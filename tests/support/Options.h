#pragma once

#include "app/AppPaths.h"
#include "common/IniFile.h"

// Options.ini of the data folder, found whatever the case of its name.
inline QString optionsFile()
{
    return AppPaths::dataFile(QStringLiteral("Options.ini"));
}

inline QString option(const QString &section, const QString &key)
{
    return IniFile(optionsFile()).readString(section, key);
}

// Writes one value and keeps every other line; false when the file could not be saved.
inline bool setOption(const QString &section, const QString &key, const QString &value)
{
    IniFile ini(optionsFile());
    ini.writeString(section, key, value);
    return ini.save();
}
