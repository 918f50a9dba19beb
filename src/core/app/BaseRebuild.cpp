#include "BaseRebuild.h"

#include "BackupRestore.h"
#include "BaseFacts.h"
#include "records/AutomaticSweep.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

const QString FolderPrefix = QStringLiteral(".rebuilding-");

// Folders of rebuilds cut off by a kill: each may hold a whole base.
void removeLeftovers(const QString &folder)
{
    const QDir dir(folder);
    for (const QString &name :
         dir.entryList({FolderPrefix + QLatin1Char('*')}, QDir::Dirs | QDir::Hidden))
        QDir(dir.filePath(name)).removeRecursively();
}

QString differences(const BaseFacts::TableRows &before, const BaseFacts::TableRows &after)
{
    QStringList lines;
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (after.value(it.key()) != it.value())
            lines << QStringLiteral("%1: %2 rows before, %3 after")
                         .arg(it.key())
                         .arg(it.value())
                         .arg(after.value(it.key()));
    }
    return lines.join(QStringLiteral("; "));
}

} // namespace

bool BaseRebuild::due(const QSqlDatabase &db, qint64 from)
{
    return AutomaticSweep::transactionsBehind(db).value_or(0) >= from;
}

BaseRebuild::Result BaseRebuild::run(const QString &basePath, const Progress &progress,
                                     const Gbak::Cancelled &cancelled)
{
    Result result;
    const QString folder = QFileInfo(basePath).absolutePath();
    removeLeftovers(folder);
    BaseFacts::TableRows before, after;
    auto countTables = [](const QString &path, BaseFacts::TableRows *rows, QString *error) {
        return BaseFacts::onFile(
            path, [&](const QSqlDatabase &db) { return BaseFacts::countTables(db, rows, error); },
            error);
    };
    if (!countTables(basePath, &before, &result.error))
        return result;
    QTemporaryDir scratch(folder + QLatin1Char('/') + FolderPrefix + QStringLiteral("XXXXXX"));
    if (!scratch.isValid()) {
        result.error = QStringLiteral("Nothing can be written to the folder %1.")
                           .arg(QDir::toNativeSeparators(folder));
        return result;
    }
    const QString backup = scratch.filePath(QStringLiteral("BASE.fbk"));
    const QString rebuilt = scratch.filePath(QStringLiteral("BASE.fdb"));
    qint64 rows = 1;
    for (const int count : before)
        rows += count;
    // The backup is the first half of the way, the restore the second.
    auto reportFrom = [&](int start) {
        return [&progress, rows, start](const Gbak::Step &step) {
            if (progress)
                progress(start + int(48 * qMin<qint64>(step.records, rows) / rows));
        };
    };
    Gbak gbak;
    gbak.setCancelled(cancelled);
    gbak.setProgress(reportFrom(0));
    bool made = gbak.backup(basePath, backup, &result.error);
    gbak.setProgress(reportFrom(50));
    made = made && gbak.restore(backup, rebuilt, &result.error);
    result.cancelled = gbak.wasCancelled();
    if (!made)
        return result;
    if (!countTables(rebuilt, &after, &result.error))
        return result;
    if (after != before) {
        result.error = QStringLiteral("The rebuilt base differs: ") + differences(before, after);
        return result;
    }
    if (!AutomaticSweep::switchOff(rebuilt, &result.error)
        || !BackupRestore::replace(rebuilt, basePath, &result.error))
        return result;
    result.ok = true;
    return result;
}
