#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Runs Firebird's own gbak program to turn a client base into a backup file (.fbk) and back.
//
// gbak works on local files with the embedded engine, so no Firebird server is needed. A base
// file is held exclusively by the process that has it open (the engine runs in "Super" mode),
// so the base must not be open in any process, this one included, while gbak reads it.
//
// Both directions write under a temporary name beside the target and rename it into place only
// when gbak finished without error: a failed, cancelled or timed-out run leaves no file under the
// target name, and an existing file there is never touched (the run fails instead).
//
// The calls block; run them on a worker thread when a window must stay responsive.
class Gbak
{
public:
    struct Step
    {
        QString line;       // gbak's last verbose line
        qint64 records = 0; // records written or restored so far, as gbak reports them
    };
    using Progress = std::function<void(const Step &step)>;
    // Asked often while gbak runs; true stops it.
    using Cancelled = std::function<bool()>;

    Gbak();

    // The gbak program to run: `gbak` on the PATH, /usr/bin/gbak or a Firebird install folder;
    // empty when none is found.
    static QString findProgram();
    // Another program (tests name a missing one); empty means findProgram().
    void setProgram(const QString &program) { m_program = program; }
    QString program() const { return m_program; }

    void setProgress(Progress progress) { m_progress = std::move(progress); }
    void setCancelled(Cancelled cancelled) { m_cancelled = std::move(cancelled); }
    // The longest a run may take; 0 means no limit.
    void setTimeLimit(int seconds) { m_timeLimitSeconds = seconds; }

    // A backup of the base file at `basePath` into `fbkPath`.
    bool backup(const QString &basePath, const QString &fbkPath, QString *error = nullptr);
    // A new base file at `newBasePath` from the backup `fbkPath` (the page size of the backup
    // is kept).
    bool restore(const QString &fbkPath, const QString &newBasePath, QString *error = nullptr);

    // Whether the last run stopped because it was cancelled.
    bool wasCancelled() const { return m_wasCancelled; }

    // The records a verbose line of gbak reports written or restored; 0 for other lines.
    static qint64 recordsIn(const QString &line);
    // A free name beside `target` for the file being written; empty when the folder is not
    // writable.
    static QString partName(const QString &target);

private:
    bool run(QStringList arguments, const QString &source, const QString &target, QString *error);
    QString runProcess(const QStringList &arguments);
    void readLines(const QByteArray &chunk);

    QString m_program;
    Progress m_progress;
    Cancelled m_cancelled;
    int m_timeLimitSeconds = 0;
    bool m_wasCancelled = false;
    QByteArray m_pending;
    QStringList m_lastLines;
    QStringList m_errorLines;
    qint64 m_records = 0;
};
