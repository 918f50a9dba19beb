#pragma once

#include "BackupStore.h"
#include "Gbak.h"

#include <QString>

#include <functional>

// One backup into the backup folder, as made at the first close of a day and on request:
// the client base through the Firebird engine's backup service (a consistent copy while the
// program holds the base open and goes on writing), the shared base when it is the default
// file here, and the settings files; then verified by restoring the backup with gbak into a
// scratch file and counting its clients and tests; then rotated.
//
// Everything is written into a temporary folder first and renamed into place only when it was
// verified: a backup that fails or is cancelled leaves nothing, and a backup folder under its
// final name always holds a verified backup.
//
// run() does not touch widgets or the program's own connection: run it on a worker thread.
class AutoBackup
{
public:
    struct Result
    {
        bool ok = false;
        bool cancelled = false;
        QString error;   // why no backup was made
        QString warning; // a backup was made, but older ones could not be removed
        BackupStore::Entry entry;
        QStringList removed; // old backups rotation removed
    };
    // What is being done, and how far the whole run is (0..100).
    using Progress = std::function<void(const QString &step, int percent)>;

    AutoBackup(const QString &basePath, const QString &targetFolder);
    void setProgress(Progress progress) { m_progress = std::move(progress); }
    void setCancelled(Gbak::Cancelled cancelled) { m_cancelled = std::move(cancelled); }
    // Another gbak program for the verification (tests).
    void setGbakProgram(const QString &program) { m_gbakProgram = program; }
    // Backups that rotation must leave, besides the one just made (the one about to be restored).
    void setKeep(const QStringList &folders) { m_keep = folders; }

    Result run();

    // Whether the gbak program that verification needs is installed.
    static bool available() { return !Gbak::findProgram().isEmpty(); }

private:
    QString backUpInto(const QString &folder, BackupStore::Entry *entry);
    QString verify(const QString &folder, const BaseFacts::Counts &low,
                   const BaseFacts::Counts &high, BaseFacts::Counts *found);
    bool cancelled() const { return m_cancelled && m_cancelled(); }
    void step(const QString &text, int percent) const;

    QString m_basePath;
    QString m_target;
    QString m_gbakProgram;
    QStringList m_keep;
    Progress m_progress;
    Gbak::Cancelled m_cancelled;
    qint64 m_expectedRecords = 1;
};
