#include "BackupRestore.h"

#include "common/DurableFile.h"
#include "common/ErrorOut.h"
#include "DataBackup.h"
#include "localization/Localization.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString text(const char *key, const char *english)
{
    return Localization::translateOr(QLatin1String(key), QString::fromUtf8(english));
}

} // namespace

BackupRestore::Result BackupRestore::prepare(const BackupStore::Entry &entry,
                                             const QString &basePath,
                                             const Gbak::Progress &progress,
                                             const Gbak::Cancelled &cancelled)
{
    Result result;
    const QString source = entry.baseFilePath();
    const QString prepared = Gbak::partName(basePath + QStringLiteral(".restored"));
    if (prepared.isEmpty()) {
        result.error = QStringLiteral("Nothing can be written to the folder %1.")
                           .arg(QDir::toNativeSeparators(QFileInfo(basePath).absolutePath()));
        return result;
    }
    QString error;
    bool made = false;
    if (source.endsWith(QLatin1String(".fbk"), Qt::CaseInsensitive)) {
        Gbak gbak;
        gbak.setProgress(progress);
        gbak.setCancelled(cancelled);
        made = gbak.restore(source, prepared, &error);
        result.cancelled = gbak.wasCancelled();
    } else {
        // A plain copy, made where gbak was missing.
        made = DataBackup::copyFile(source, prepared, &error);
    }
    BaseFacts::Counts counts;
    if (made && !BaseFacts::countFile(prepared, &counts, &error))
        made = false;
    if (made && !(counts == entry.counts)) {
        error = text("RestoreCountsDiffer",
                     "the restored base holds %1 clients and %2 tests, the backup was made "
                     "with %3 clients and %4 tests")
                    .arg(counts.clients)
                    .arg(counts.tests)
                    .arg(entry.counts.clients)
                    .arg(entry.counts.tests);
        made = false;
    }
    if (!made) {
        QFile::remove(prepared);
        result.error =
            result.cancelled
                ? error
                : text("RestoreFailed", "The backup of %1 cannot be restored; the client "
                                        "base is unchanged: %2")
                      .arg(entry.time.toString(QStringLiteral("yyyy-MM-dd HH:mm")), error);
        return result;
    }
    result.ok = true;
    result.prepared = prepared;
    result.counts = counts;
    return result;
}

bool BackupRestore::replace(const QString &prepared, const QString &basePath, QString *error)
{
    // The rename replaces the base in one step: there is always either the old or the new base.
    if (DurableFile::sync(prepared, error) && DurableFile::replace(prepared, basePath, error))
        return true;
    QFile::remove(prepared);
    return false;
}
