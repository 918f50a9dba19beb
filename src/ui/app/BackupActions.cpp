#include "BackupActions.h"

#include "app/AppPaths.h"
#include "app/AutoBackup.h"
#include "app/BaseRebuild.h"
#include "app/DataBackup.h"
#include "BackupAgeLabel.h"
#include "BackupProgress.h"
#include "common/CaseInsensitivePath.h"
#include "common/Clock.h"
#include "common/Dialogs.h"
#include "localization/Localization.h"
#include "records/DataModule.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QStatusBar>

namespace {

QString basePathOf(DataModule *data)
{
    if (data && data->isOpen())
        return data->path();
    return CaseInsensitivePath::resolve(AppPaths::GetDataPath(), QStringLiteral("BASE.fdb"));
}

// Where gbak is missing: the whole base copied (DataBackup checks the copy), then kept and
// rotated like the other backups.
bool copyBackUp(QWidget *parent, DataModule *data, const QString &folder, const QStringList &keep)
{
    if (!QDir().mkpath(folder)) {
        Dialogs::error(parent, BackupActions::text("Error", "Error"),
                       BackupActions::text("BackupNoFolder", "The folder %1 does not exist.")
                           .arg(QDir::toNativeSeparators(folder)));
        return false;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const DataBackup::Result made = DataBackup(data).run(folder);
    QApplication::restoreOverrideCursor();
    QString error = made.error;
    if (made.ok) {
        BackupStore::Entry entry;
        entry.folder = made.folder;
        entry.time = Clock::now();
        entry.baseFile = QFileInfo(basePathOf(data)).fileName();
        entry.counts = made.counts;
        entry.verified = true;
        if (BackupStore::writeManifest(made.folder, entry, &error)
            && BackupStore::rememberDone(entry, &error))
            BackupStore::rotate(folder, keep + QStringList{made.folder}, &error);
    }
    if (!error.isEmpty())
        Dialogs::error(parent, BackupActions::text("Error", "Error"), error);
    if (!made.reopenError.isEmpty())
        Dialogs::error(parent, BackupActions::text("Error", "Error"), made.reopenError);
    return made.ok;
}

} // namespace

QString BackupActions::text(const char *key, const char *english)
{
    return Localization::translateOr(QLatin1String(key), QString::fromUtf8(english));
}

bool BackupActions::backUp(QWidget *parent, DataModule *data, const QStringList &keep)
{
    const QString folder = BackupStore::folder();
    const QString basePath = basePathOf(data);
    if (DataModule::isServerPath(basePath))
        return false; // a base on a server is backed up where it lives
    if (!AutoBackup::available()) {
        const bool made = copyBackUp(parent, data, folder, keep);
        BackupAgeLabel::refreshAll();
        return made;
    }
    AutoBackup::Result result;
    BackupProgress::run(
        parent, text("BackupRunning", "Backing up your data..."),
        [&](const BackupProgress::Report &report, const BackupProgress::Cancelled &cancelled) {
            AutoBackup job(basePath, folder);
            job.setProgress(report);
            job.setCancelled(cancelled);
            job.setKeep(keep);
            result = job.run();
        });
    QString error = result.error;
    if (result.ok && !BackupStore::rememberDone(result.entry, &error))
        error = text("BackupNotRemembered",
                     "The backup was made in %1, but Options.ini could not be saved: %2")
                    .arg(QDir::toNativeSeparators(result.entry.folder), error);
    else if (result.ok)
        error = result.warning;
    BackupAgeLabel::refreshAll();
    if (!result.cancelled && !error.isEmpty())
        Dialogs::error(parent, text("Error", "Error"), error);
    return result.ok;
}

void BackupActions::atClose(QWidget *parent, DataModule *data)
{
    if (!BackupStore::isDueToday(Clock::today()))
        return;
    const QString basePath = basePathOf(data);
    if (DataModule::isServerPath(basePath) || !QFileInfo(basePath).isFile())
        return;
    backUp(parent, data);
}

bool BackupActions::rebuildIfDue(QWidget *parent, DataModule *data, QString *error)
{
    const QString basePath = data->path();
    if (DataModule::isServerPath(basePath) || !AutoBackup::available()
        || !BaseRebuild::due(data->database()))
        return true;
    data->close();
    BaseRebuild::Result result;
    const QString title = text("BaseRebuilding", "Tidying up the client base...");
    BackupProgress::run(
        parent, title,
        [&](const BackupProgress::Report &report, const BackupProgress::Cancelled &cancelled) {
            result = BaseRebuild::run(
                basePath, [&](int percent) { report(title, percent); }, cancelled);
        });
    if (!result.ok && !result.cancelled) {
        // The base is as it was and works as before; the next start tries again.
        const QString message = text("BaseRebuildFailed",
                                     "The client base could not be tidied up and is used as it "
                                     "was: %1")
                                    .arg(result.error);
        qWarning("%s", qPrintable(message));
        if (auto *window = qobject_cast<QMainWindow *>(parent))
            window->statusBar()->showMessage(message, 30000);
    }
    return data->open(basePath, error);
}

void BackupActions::chooseFolder(QWidget *parent)
{
    const QString chosen = Dialogs::chooseFolder(
        parent, text("BackupChooseFolder", "Choose the folder for the automatic backups"),
        BackupStore::folder());
    if (chosen.isEmpty())
        return;
    QString error;
    if (!BackupStore::setFolder(chosen, &error))
        Dialogs::error(
            parent, text("Error", "Error"),
            text("BackupFolderNotSaved", "The backup folder could not be stored: %1").arg(error));
    BackupAgeLabel::refreshAll();
}
