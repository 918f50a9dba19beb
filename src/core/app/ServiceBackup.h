#pragma once

#include "Gbak.h"

#include <QString>

// A gbak backup of a client base that this process may hold open, made by the Firebird engine
// of this process through its service manager.
//
// The embedded engine holds a base file for the one process that opened it, so the gbak program
// cannot read a base that the program has open; the engine's own backup service can, and it
// reads the base in one snapshot transaction: the backup is consistent while other connections
// go on writing, and holds everything committed before it started.
//
// Like Gbak it writes under a temporary name and renames the file into place only on success.
// The call blocks; run it on a worker thread when a window must stay responsive.
class ServiceBackup
{
public:
    void setProgress(Gbak::Progress progress) { m_progress = std::move(progress); }
    void setCancelled(Gbak::Cancelled cancelled) { m_cancelled = std::move(cancelled); }

    bool backup(const QString &basePath, const QString &fbkPath, QString *error = nullptr);
    bool wasCancelled() const { return m_wasCancelled; }

private:
    QString run(const QString &basePath, const QString &part);

    Gbak::Progress m_progress;
    Gbak::Cancelled m_cancelled;
    bool m_wasCancelled = false;
};
