#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// What a folder brought from another installation holds: the data folder of a workstation of
// this kind, as copied from a Windows machine (file names in any letter case, Windows-1251
// text, CRLF line ends), or a gbak backup file (.fbk) of its base.
//
// The practitioner may point at the base file, the backup file, the data folder itself, or a
// folder above it ("Quillane" or the profile); the files are looked for there and in Q7/ and
// Quillane/Q7/ below it. Nothing is opened for writing.
class ImportSource
{
public:
    enum class BaseKind {
        None,        // no base and no backup file found
        Base,        // a Firebird base this machine's engine can open
        Backup,      // a gbak backup file
        OtherFormat, // a Firebird base of an on-disk format this engine cannot open
        NotFirebird, // a file under the base's name that is no Firebird base at all
    };

    // Something found that will not be used, and why. `key` names the language text that says
    // so; `english` is the same text in English; %1 is the file, %2 the detail.
    struct Note
    {
        QString key;
        QString english;
        QString file;
        QString detail;
        QString text() const { return fill(english); }
        // `pattern` (this text in any language) with the file and the detail put in.
        QString fill(const QString &pattern) const
        {
            return pattern.contains(QLatin1String("%2")) ? pattern.arg(file, detail)
                                                         : pattern.arg(file);
        }
    };

    struct Findings
    {
        QString folder; // where the files were found
        QString basePath;
        BaseKind baseKind = BaseKind::None;
        int odsMajor = 0; // on-disk format of a base file (12 for Firebird 3)
        QString optionsPath;
        QString rememberPath;
        QStringList languagePaths;
        QList<Note> notes;
        bool usable() const { return baseKind == BaseKind::Base || baseKind == BaseKind::Backup; }
    };

    // `path`: a folder, a base file or a backup file.
    static Findings inspect(const QString &path);

    // The major on-disk structure version of a Firebird base file (10, 11, 12, 13 ...), or 0
    // when the file does not start with a Firebird header page.
    static int odsMajor(const QString &path);
    // The ODS this machine's engine opens.
    static constexpr int SupportedOds = 12;

private:
    static QString dataFolderIn(const QString &folder);
    static void findBase(const QString &chosen, Findings *found);
    static void findSettings(Findings *found);
};
