#pragma once

#include "BaseFacts.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// The folder of the program's automatic backups and what it holds.
//
// Each backup is a folder "Vandrel backup YYYY-MM-DD HH-MM" holding BACKUP_FILE, the base as
// gbak wrote it (or BASE.fdb, a plain copy, where gbak is missing), the settings files, and
// the manifest backup.ini with the time and the counts the backup was verified with. Only a
// folder with that name and a manifest is taken for one of ours: anything else in the folder
// is neither listed nor ever removed.
class BackupStore
{
public:
    struct Entry
    {
        QString folder;
        QDateTime time;
        QString baseFile; // file name of the base inside the folder
        BaseFacts::Counts counts;
        bool verified = false;
        QString baseFilePath() const { return folder + QLatin1Char('/') + baseFile; }
    };

    // <maker folder>/Backups: in the practitioner's profile, beside the data folder rather than
    // inside it, so a backup never holds the earlier backups.
    static QString defaultFolder();
    // Options.ini [Backup] autoFolder, or the default.
    static QString folder();
    static bool setFolder(const QString &folder, QString *error = nullptr);

    static QString manifestName() { return QStringLiteral("backup.ini"); }
    static bool writeManifest(const QString &backupFolder, const Entry &entry,
                              QString *error = nullptr);
    // Our backups in `folder`, newest first.
    static QList<Entry> list(const QString &folder);
    static bool isOurs(const QString &backupFolder, Entry *entry = nullptr);

    // The backups rotation removes: all but every backup of the latest day, the newest of each
    // of the 14 latest days and the newest of each of the 8 latest ISO weeks; never one in
    // `keep`. Entries newest first.
    static QStringList toRemove(const QList<Entry> &entries, const QStringList &keep);
    // Removes them; the folders it could not remove are named in `error`.
    static QStringList rotate(const QString &folder, const QStringList &keep,
                              QString *error = nullptr);

    // The newest verified backup in folder(); invalid time when none.
    static Entry lastVerified();
    // True when no automatic backup was made today yet (Options.ini [Backup] autoDate).
    static bool isDueToday(const QDate &today);
    static bool rememberDone(const Entry &entry, QString *error = nullptr);
    // True when the practitioner should be told to back up: the last verified backup is older
    // than `days`, or there is none and the base holds clients.
    static bool isOverdue(const QDateTime &now, bool baseHasClients, int days = 7);
};
