#include "AutoBackup.h"

#include "common/Clock.h"
#include "DataBackup.h"
#include "localization/Localization.h"
#include "ServiceBackup.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

const QString kBaseFile = QStringLiteral("BASE.fbk");
const QString kSharedFile = QStringLiteral("Uniform Base/Uniform.fbk");

QString text(const char *key, const char *english)
{
    return Localization::translateOr(QLatin1String(key), QString::fromUtf8(english));
}

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

bool within(const BaseFacts::Counts &value, const BaseFacts::Counts &a, const BaseFacts::Counts &b)
{
    return value.clients >= qMin(a.clients, b.clients)
           && value.clients <= qMax(a.clients, b.clients) && value.tests >= qMin(a.tests, b.tests)
           && value.tests <= qMax(a.tests, b.tests);
}

} // namespace

AutoBackup::AutoBackup(const QString &basePath, const QString &targetFolder)
    : m_basePath(basePath)
    , m_target(targetFolder)
    , m_gbakProgram(Gbak::findProgram())
{}

void AutoBackup::step(const QString &line, int percent) const
{
    if (m_progress)
        m_progress(line, qBound(0, percent, 100));
}

AutoBackup::Result AutoBackup::run()
{
    Result result;
    if (!QDir().mkpath(m_target)) {
        result.error =
            text("BackupNoFolder", "The folder %1 does not exist.").arg(native(m_target));
        return result;
    }
    QTemporaryDir temp(QDir(m_target).absoluteFilePath(QStringLiteral(".Vandrel backup-XXXXXX")));
    if (!temp.isValid()) {
        result.error =
            text("BackupCannotWrite",
                 "The backup was not made: nothing can be written to the folder %1 (%2).")
                .arg(native(m_target), temp.errorString());
        return result;
    }
    result.error = backUpInto(temp.path(), &result.entry);
    if (!result.error.isEmpty()) {
        result.cancelled = cancelled();
        return result;
    }
    const QString finalPath =
        DataBackup::freeName(m_target, DataBackup::folderName(result.entry.time));
    if (!QDir().rename(temp.path(), finalPath)) {
        result.error = text("BackupRenameFailed",
                            "The backup was not made: the folder %1 could not be created.")
                           .arg(native(finalPath));
        return result;
    }
    temp.setAutoRemove(false);
    result.ok = true;
    result.entry.folder = finalPath;
    step(text("BackupRotating", "Removing old backups..."), 100);
    QString rotateError;
    result.removed = BackupStore::rotate(m_target, m_keep + QStringList{finalPath}, &rotateError);
    result.warning = rotateError;
    return result;
}

QString AutoBackup::backUpInto(const QString &folder, BackupStore::Entry *entry)
{
    if (!QFileInfo(m_basePath).isFile())
        return text("BackupNoBase", "The client base %1 is not a file on this computer, so it "
                                    "cannot be backed up here.")
            .arg(native(m_basePath));
    // Counted on connections of their own before and after: the backup's snapshot lies between.
    BaseFacts::Counts before, after;
    QString error;
    if (!BaseFacts::countFile(m_basePath, &before, &error))
        return text("BackupBaseUnreadable",
                    "The backup was not made: the client base %1 cannot be read (%2).")
            .arg(native(m_basePath), error);
    m_expectedRecords = qMax<qint64>(1, before.clients + before.tests);
    entry->time = Clock::now();

    ServiceBackup service;
    service.setCancelled(m_cancelled);
    const QString writing = text("BackupWriting", "Backing up the client base...");
    service.setProgress([this, &writing](const Gbak::Step &s) {
        step(writing, int(45 * qMin<qint64>(s.records, m_expectedRecords) / m_expectedRecords));
    });
    step(writing, 0);
    if (!service.backup(m_basePath, folder + QLatin1Char('/') + kBaseFile, &error))
        return service.wasCancelled()
                   ? error
                   : text("BackupFailed", "The backup was not made: %1").arg(error);
    if (!BaseFacts::countFile(m_basePath, &after, &error))
        return text("BackupBaseUnreadable",
                    "The backup was not made: the client base %1 cannot be read (%2).")
            .arg(native(m_basePath), error);

    const QString shared = DataBackup::sharedBaseToCopy();
    const QString sharedTarget = folder + QLatin1Char('/') + kSharedFile;
    if (!shared.isEmpty()
        && (!QDir().mkpath(QFileInfo(sharedTarget).absolutePath())
            || !service.backup(shared, sharedTarget, &error)))
        return text("BackupFailed", "The backup was not made: %1").arg(error);
    for (const DataBackup::Copy &file : DataBackup::settingsFiles()) {
        step(text("BackupCopying", "Copying %1...").arg(native(file.from)), 50);
        if (!DataBackup::copyFile(file.from, folder + QLatin1Char('/') + file.to, &error))
            return text("BackupCopyFailed", "The backup was not made: %1 could not be copied (%2).")
                .arg(native(file.from), error);
    }
    if (cancelled())
        return QStringLiteral("Cancelled.");

    const QString problem = verify(folder, before, after, &entry->counts);
    if (!problem.isEmpty())
        return problem;
    entry->baseFile = kBaseFile;
    entry->verified = true;
    if (!BackupStore::writeManifest(folder, *entry, &error))
        return text("BackupFailed", "The backup was not made: %1").arg(error);
    return QString();
}

QString AutoBackup::verify(const QString &folder, const BaseFacts::Counts &low,
                           const BaseFacts::Counts &high, BaseFacts::Counts *found)
{
    const QString checking = text("BackupVerifying", "Checking the backup of the client base...");
    step(checking, 50);
    QTemporaryDir scratch(folder + QStringLiteral("/.verify-XXXXXX"));
    if (!scratch.isValid())
        return text("BackupFailed", "The backup was not made: %1").arg(scratch.errorString());
    Gbak gbak;
    gbak.setProgram(m_gbakProgram);
    gbak.setCancelled(m_cancelled);
    gbak.setProgress([this, &checking](const Gbak::Step &s) {
        step(checking,
             50 + int(48 * qMin<qint64>(s.records, m_expectedRecords) / m_expectedRecords));
    });
    const QString restored = scratch.path() + QStringLiteral("/BASE.fdb");
    QString error;
    if (!gbak.restore(folder + QLatin1Char('/') + kBaseFile, restored, &error))
        return gbak.wasCancelled()
                   ? error
                   : text("BackupVerifyFailed", "The backup was made but does not restore, so it "
                                                "was removed: %1")
                         .arg(error);
    if (!BaseFacts::countFile(restored, found, &error))
        return text("BackupVerifyFailed",
                    "The backup was made but does not restore, so it was removed: %1")
            .arg(error);
    if (!within(*found, low, high))
        return text("BackupCountsDiffer",
                    "The backup was not made: the copy of the client base holds %1 clients and "
                    "%2 tests, the client base %3 clients and %4 tests.")
            .arg(found->clients)
            .arg(found->tests)
            .arg(high.clients)
            .arg(high.tests);
    return QString();
}
