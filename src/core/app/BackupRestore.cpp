#include "BackupRestore.h"

#include "common/ErrorOut.h"
#include "DataBackup.h"
#include "localization/Localization.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

QString text(const char *key, const char *english)
{
    const QString t = Localization::Translate(QLatin1String(key));
    return t.isEmpty() ? QString::fromUtf8(english) : t;
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
    // rename() replaces the base in one step: there is always either the old or the new base.
    if (std::rename(QFile::encodeName(prepared).constData(),
                    QFile::encodeName(basePath).constData())
        != 0) {
        setError(error,
                 QStringLiteral("%1 could not replace %2: %3")
                     .arg(QDir::toNativeSeparators(prepared), QDir::toNativeSeparators(basePath),
                          QString::fromLocal8Bit(std::strerror(errno))));
        QFile::remove(prepared);
        return false;
    }
    return true;
}
