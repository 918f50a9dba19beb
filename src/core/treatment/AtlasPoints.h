#pragma once

#include "AtlasPosition.h"
#include "common/IniFile.h"

#include <QString>

// The point position file DesDotsNames.INI of the install folder: one section per point code
// ("LU7") with the picture, the two marks and the dot colour. A code the file lacks, and every
// key it lacks, reads as the defaults: the back picture, position 0, black.
class AtlasPoints
{
public:
    static QString fileName() { return QStringLiteral("DesDotsNames.INI"); }

    // The file of the install folder.
    AtlasPoints();
    explicit AtlasPoints(const IniFile &file);

    bool contains(const QString &code) const;
    AtlasPosition position(const QString &code) const;

    // Whether a point label opens the atlas: triple-heater codes written "TH..." do not.
    static bool linksTo(const QString &code);

private:
    IniFile m_file;
};
