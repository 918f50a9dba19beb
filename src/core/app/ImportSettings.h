#pragma once

#include "ImportSource.h"

#include <QList>
#include <QString>
#include <QStringList>

class IniFile;

// How the settings and language files of another installation join this one's.
//
// Options.ini: every setting of the other installation is taken (the measuring order, meridian
// names, corridor, password, client numbering, calibration, questionnaire algorithms ...),
// except what belongs to this machine: the shared base, the backup folder, the program's
// version, and any value that is a path on the other machine (C:\..., \\server\...).
//
// Language files: one whose name this installation does not have is added; one equal to this
// installation's is left; one that differs is added beside it as "<name> (imported)", so the
// practitioner's own texts are kept without replacing the program's newer ones.
class ImportSettings
{
public:
    // Merges `imported` into `current`; `notes` says what was left out.
    static void mergeOptions(IniFile *current, const IniFile &imported,
                             QList<ImportSource::Note> *notes);

    struct LanguageCopy
    {
        QString from;
        QString name; // file name in this installation's languages folder
    };
    // The language files to add to `languagesFolder`, and notes on those left.
    static QList<LanguageCopy> languagesToAdd(const QStringList &languagePaths,
                                              const QString &languagesFolder,
                                              QList<ImportSource::Note> *notes);

    static bool isForeignPath(const QString &value);
};
