#pragma once

#include "BaseFacts.h"

#include <QDateTime>
#include <QString>

#include <functional>

class DataModule;

// A copy of the practitioner's data in a folder they choose: the client base, Options.ini,
// Remember.ini, the language files of the data folder and, when the shared client base is the
// default file on this machine, Uniform.fdb too.
//
// Each backup is a new folder "Vandrel backup YYYY-MM-DD HH-MM" (with " (2)", " (3)" ... when
// that name is taken). Everything is written into a temporary folder beside it first and
// renamed into place only when every file was copied and the copied base opens and holds as
// many clients and tests as the original; on any failure the temporary folder is removed, so
// a folder under the final name is always a complete backup.
//
// The running program holds the client base open in one long transaction: the base is closed
// (which commits) for the copy and opened again afterwards, whatever happened.
class DataBackup
{
public:
    struct Result
    {
        bool ok = false;
        QString folder;           // the backup folder made
        QString error;            // why no backup was made
        QString reopenError;      // the client base could not be opened again afterwards
        BaseFacts::Counts counts; // what the backed-up base holds
    };
    struct Last
    {
        QString folder;
        QDateTime time;
        bool isValid() const { return time.isValid(); }
    };
    // A line saying what is being done, for the page to show while the backup runs.
    using Progress = std::function<void(const QString &step)>;

    // `data` may be null or closed: the base file of the data folder is copied then.
    explicit DataBackup(DataModule *data = nullptr);
    void setProgress(Progress progress) { m_progress = std::move(progress); }

    // Makes a backup folder inside `targetFolder`; on success remembers it in Options.ini.
    Result run(const QString &targetFolder);

    static QString folderName(const QDateTime &when);
    // The last backup made, from Options.ini [Backup].
    static Last last();
    // The shared base file that belongs in a backup: the default local file when it is the
    // one in use and exists; empty for a server or a file elsewhere (that one has its owner).
    static QString sharedBaseToCopy();

    struct Copy
    {
        QString from;
        QString to; // relative to the backup folder
    };
    // Options.ini, Remember.ini and the language files, under the names a backup keeps them.
    static QList<Copy> settingsFiles();
    // Copies a file so that a copy cut short (a full disk) is reported and leaves nothing.
    static bool copyFile(const QString &from, const QString &to, QString *error);
    // `name` inside `folder`, with " (2)", " (3)" ... when that name is taken.
    static QString freeName(const QString &folder, const QString &name);

private:
    QString copyInto(const QString &folder, const QString &basePath, BaseFacts::Counts *counts);
    QList<Copy> filesToCopy(const QString &basePath) const;
    void step(const QString &text) const;

    DataModule *m_data = nullptr;
    Progress m_progress;
};
