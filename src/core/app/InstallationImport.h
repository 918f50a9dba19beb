#pragma once

#include "BaseFacts.h"
#include "Gbak.h"
#include "ImportSettings.h"
#include "ImportSource.h"

#include <QStringList>

// Brings in the data of another installation of this kind of program (see ImportSource):
// its client base, its settings, its timers and its own language files, in place of this
// installation's.
//
// prepare() does the slow part without touching this installation: the base is restored with
// gbak from a backup file, or copied, beside this installation's base, opened and brought up to
// date (narrow columns widened) and counted; the settings are merged in memory. Run it on a
// worker thread. apply(), with this installation's base closed, first writes every new file
// under a name of its own and only then puts them in place, the base first; whatever fails
// before the base is replaced leaves this installation exactly as it was. discard() drops a
// prepared import that is not wanted.
class InstallationImport
{
public:
    struct Prepared
    {
        bool ok = false;
        bool cancelled = false;
        QString error;
        ImportSource::Findings found;
        QString preparedBase;
        BaseFacts::Counts counts;
        bool hasOptions = false;
        QStringList options; // the merged lines of Options.ini
        QString language;    // the language that will be current
        QList<ImportSettings::LanguageCopy> languages;
    };

    // `basePath` is this installation's base in the data folder.
    static Prepared prepare(const QString &source, const QString &basePath,
                            const Gbak::Progress &progress = {},
                            const Gbak::Cancelled &cancelled = {});
    static bool apply(const Prepared &prepared, const QString &basePath, QString *error = nullptr);
    static void discard(const Prepared &prepared);

private:
    static QString prepareBase(Prepared *result, const QString &target,
                               const Gbak::Progress &progress, const Gbak::Cancelled &cancelled);
    static void prepareSettings(Prepared *result);
};
