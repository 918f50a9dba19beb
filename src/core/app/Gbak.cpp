#include "Gbak.h"

#include "common/ErrorOut.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

constexpr int kLastLines = 6;
constexpr int kPollMs = 100;

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

bool diskFull(const QStringList &lines)
{
    for (const QString &line : lines)
        if (line.contains(QLatin1String("No space left"), Qt::CaseInsensitive)
            || line.contains(QLatin1String("disk full"), Qt::CaseInsensitive))
            return true;
    return false;
}

} // namespace

Gbak::Gbak()
    : m_program(findProgram())
{}

QString Gbak::findProgram()
{
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("gbak"));
    if (!onPath.isEmpty())
        return onPath;
    QStringList candidates{QStringLiteral("/usr/bin/gbak"),
                           QStringLiteral("/opt/firebird/bin/gbak")};
    const QDir lib(QStringLiteral("/usr/lib/firebird"));
    for (const QString &version :
         lib.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::Reversed))
        candidates.append(lib.filePath(version + QStringLiteral("/bin/gbak")));
    for (const QString &candidate : candidates)
        if (QFileInfo(candidate).isExecutable())
            return candidate;
    return QString();
}

bool Gbak::backup(const QString &basePath, const QString &fbkPath, QString *error)
{
    // -g: no garbage collection on the way, which would only slow the backup down.
    return run({QStringLiteral("-b"), QStringLiteral("-g")}, basePath, fbkPath, error);
}

bool Gbak::restore(const QString &fbkPath, const QString &newBasePath, QString *error)
{
    return run({QStringLiteral("-c")}, fbkPath, newBasePath, error);
}

bool Gbak::run(QStringList arguments, const QString &source, const QString &target, QString *error)
{
    m_wasCancelled = false;
    m_pending.clear();
    m_lastLines.clear();
    m_errorLines.clear();
    m_records = 0;

    if (m_program.isEmpty() || !QFileInfo(m_program).isExecutable()) {
        setError(error,
                 QStringLiteral("Firebird's gbak program was not found%1; it comes with the "
                                "package firebird3.0-utils.")
                     .arg(m_program.isEmpty() ? QString()
                                              : QStringLiteral(" (%1)").arg(native(m_program))));
        return false;
    }
    if (!QFileInfo(source).isFile()) {
        setError(error, QStringLiteral("The file %1 does not exist.").arg(native(source)));
        return false;
    }
    if (QFileInfo::exists(target)) {
        setError(error, QStringLiteral("The file %1 exists already; it is not overwritten.")
                            .arg(native(target)));
        return false;
    }
    const QString part = partName(target);
    if (part.isEmpty()) {
        setError(error, QStringLiteral("Nothing can be written to the folder %1.")
                            .arg(native(QFileInfo(target).absolutePath())));
        return false;
    }
    arguments << QStringLiteral("-v") << QStringLiteral("-user") << QStringLiteral("SYSDBA")
              << source << part;

    const QString problem = runProcess(arguments);
    if (!problem.isEmpty()) {
        QFile::remove(part);
        setError(error, problem);
        return false;
    }
    if (!QFile::rename(part, target)) {
        QFile::remove(part);
        setError(error,
                 QStringLiteral("The file %1 could not be put in place.").arg(native(target)));
        return false;
    }
    return true;
}

QString Gbak::runProcess(const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    // gbak ends with the program: one left running after a kill would go on holding the base
    // it reads, and the next start could not open it.
    const pid_t parent = ::getpid();
    process.setChildProcessModifier([parent] {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(1);
    });
    process.start(m_program, arguments);
    if (!process.waitForStarted())
        return QStringLiteral("gbak (%1) could not be started: %2")
            .arg(native(m_program), process.errorString());
    // A damaged backup makes gbak ask for the next volume; an empty input ends that at once.
    process.closeWriteChannel();

    QElapsedTimer clock;
    clock.start();
    QString stopped;
    while (process.state() != QProcess::NotRunning) {
        process.waitForReadyRead(kPollMs);
        readLines(process.readAll());
        if (m_cancelled && m_cancelled()) {
            m_wasCancelled = true;
            stopped = QStringLiteral("Cancelled.");
        } else if (m_timeLimitSeconds > 0 && clock.elapsed() > qint64(m_timeLimitSeconds) * 1000) {
            stopped =
                QStringLiteral("gbak did not finish within %1 seconds.").arg(m_timeLimitSeconds);
        }
        if (!stopped.isEmpty()) {
            process.kill();
            process.waitForFinished(-1);
            return stopped;
        }
    }
    process.waitForFinished(-1);
    readLines(process.readAll() + '\n');

    const bool failed = process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0
                        || !m_errorLines.isEmpty();
    if (!failed)
        return QString();
    const QStringList &tell = m_errorLines.isEmpty() ? m_lastLines : m_errorLines;
    if (diskFull(tell + m_lastLines))
        return QStringLiteral("The disk is full: %1").arg(tell.join(QLatin1Char(' ')));
    if (process.exitStatus() != QProcess::NormalExit)
        return QStringLiteral("gbak stopped unexpectedly: %1").arg(tell.join(QLatin1Char(' ')));
    return QStringLiteral("gbak ended with code %1: %2")
        .arg(process.exitCode())
        .arg(tell.join(QLatin1Char(' ')));
}

QString Gbak::partName(const QString &target)
{
    QTemporaryFile probe(target + QStringLiteral(".part-XXXXXX"));
    if (!probe.open())
        return QString();
    const QString name = probe.fileName();
    probe.remove();
    return name;
}

qint64 Gbak::recordsIn(const QString &line)
{
    static const QRegularExpression records(
        QStringLiteral("^gbak:\\s*(\\d+) records (written|restored)"));
    const QRegularExpressionMatch match = records.match(line);
    return match.hasMatch() ? match.captured(1).toLongLong() : 0;
}

void Gbak::readLines(const QByteArray &chunk)
{
    m_pending += chunk;
    qsizetype end;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        const QString line = QString::fromLocal8Bit(m_pending.left(end)).trimmed();
        m_pending.remove(0, end + 1);
        if (line.isEmpty())
            continue;
        m_lastLines.append(line);
        if (m_lastLines.size() > kLastLines)
            m_lastLines.removeFirst();
        if (line.contains(QLatin1String("ERROR")) && m_errorLines.size() < kLastLines)
            m_errorLines.append(line);
        m_records += recordsIn(line);
        if (m_progress)
            m_progress({line, m_records});
    }
}
