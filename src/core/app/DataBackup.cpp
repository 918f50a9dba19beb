#include "DataBackup.h"

#include "common/DurableFile.h"

#include "AppPaths.h"
#include "common/CaseInsensitivePath.h"
#include "common/Clock.h"
#include "common/DurableFile.h"
#include "common/IniFile.h"
#include "localization/Localization.h"
#include "records/ClientSync.h"
#include "records/DataModule.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>

namespace {

const QString kSection = QStringLiteral("Backup");
const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm");

// A message of the current language, with its English text while the language files lack it.
QString text(const char *key, const char *english)
{
    return Localization::translateOr(QLatin1String(key), QString::fromUtf8(english));
}

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

// Copies in chunks through QSaveFile, so a copy cut short (a full disk) is reported and leaves
// no partial file behind.
bool DataBackup::copyFile(const QString &from, const QString &to, QString *error)
{
    if (!QDir().mkpath(QFileInfo(to).absolutePath())) {
        *error =
            QStringLiteral("cannot make the folder %1").arg(native(QFileInfo(to).absolutePath()));
        return false;
    }
    if (!DurableFile::copy(from, to, error))
        return false;
    if (QFileInfo(to).size() != QFileInfo(from).size()) {
        *error = QStringLiteral("the copy is shorter than the original");
        return false;
    }
    return true;
}

QString DataBackup::freeName(const QString &folder, const QString &name)
{
    const QDir dir(folder);
    QString candidate = name;
    for (int n = 2; dir.exists(candidate); ++n)
        candidate = QStringLiteral("%1 (%2)").arg(name).arg(n);
    return dir.filePath(candidate);
}

DataBackup::DataBackup(DataModule *data)
    : m_data(data)
{}

QString DataBackup::folderName(const QDateTime &when)
{
    return QStringLiteral("Vandrel backup ") + when.toString(QStringLiteral("yyyy-MM-dd HH-mm"));
}

DataBackup::Last DataBackup::last()
{
    const IniFile ini(AppPaths::dataFile(QStringLiteral("Options.ini")));
    Last last;
    last.folder = ini.readString(kSection, QStringLiteral("folder")).trimmed();
    last.time = QDateTime::fromString(ini.readString(kSection, QStringLiteral("time")).trimmed(),
                                      kTimeFormat);
    return last;
}

QString DataBackup::sharedBaseToCopy()
{
    const QString configured = ClientSync::configuredTarget().database;
    const QString standard = ClientSync::defaultSharedPath();
    if (DataModule::isServerPath(configured)
        || QFileInfo(configured).absoluteFilePath() != QFileInfo(standard).absoluteFilePath())
        return QString();
    const QString path = CaseInsensitivePath::resolve(standard);
    return QFileInfo(path).isFile() ? path : QString();
}

void DataBackup::step(const QString &line) const
{
    if (m_progress)
        m_progress(line);
}

DataBackup::Result DataBackup::run(const QString &targetFolder)
{
    Result result;
    const QFileInfo target(targetFolder);
    if (targetFolder.trimmed().isEmpty() || !target.isDir()) {
        result.error =
            text("BackupNoFolder", "The folder %1 does not exist.").arg(native(targetFolder));
        return result;
    }
    const bool wasOpen = m_data && m_data->isOpen();
    const QString basePath =
        wasOpen ? m_data->path()
                : CaseInsensitivePath::resolve(AppPaths::GetDataPath(), QStringLiteral("BASE.fdb"));
    if (DataModule::isServerPath(basePath) || !QFileInfo(basePath).isFile()) {
        result.error = text("BackupNoBase", "The client base %1 is not a file on this computer, "
                                            "so it cannot be backed up here.")
                           .arg(native(basePath));
        return result;
    }

    // Made before the base is closed: a folder that cannot be written costs nothing.
    QTemporaryDir temp(target.absoluteFilePath() + QStringLiteral("/.Vandrel backup-XXXXXX"));
    if (!temp.isValid()) {
        result.error =
            text("BackupCannotWrite",
                 "The backup was not made: nothing can be written to the folder %1 (%2).")
                .arg(native(target.absoluteFilePath()), temp.errorString());
        return result;
    }

    if (wasOpen) {
        step(text("BackupClosingBase", "Closing the client base..."));
        m_data->close();
    }
    result.error = copyInto(temp.path(), basePath, &result.counts);
    if (result.error.isEmpty()) {
        const QString finalPath = freeName(target.absoluteFilePath(), folderName(Clock::now()));
        if (QDir().rename(temp.path(), finalPath)) {
            temp.setAutoRemove(false);
            result.ok = true;
            result.folder = finalPath;
        } else {
            result.error = text("BackupRenameFailed",
                                "The backup was not made: the folder %1 could not be created.")
                               .arg(native(finalPath));
        }
    }
    if (wasOpen) {
        step(text("BackupOpeningBase", "Opening the client base again..."));
        QString error;
        if (!m_data->open(basePath, &error))
            result.reopenError =
                text("BackupReopenFailed", "The client base could not be opened again: %1. "
                                           "Close the program and start it again.")
                    .arg(error);
    }
    if (result.ok) {
        IniFile ini(AppPaths::dataFile(QStringLiteral("Options.ini")));
        ini.writeString(kSection, QStringLiteral("folder"), result.folder);
        ini.writeString(kSection, QStringLiteral("time"), Clock::now().toString(kTimeFormat));
        ini.save();
    }
    return result;
}

QList<DataBackup::Copy> DataBackup::filesToCopy(const QString &basePath) const
{
    QList<Copy> files{{basePath, QFileInfo(basePath).fileName()}};
    files.append(settingsFiles());
    const QString shared = sharedBaseToCopy();
    if (!shared.isEmpty())
        files.append({shared, QStringLiteral("Uniform Base/") + QFileInfo(shared).fileName()});
    return files;
}

QList<DataBackup::Copy> DataBackup::settingsFiles()
{
    QList<Copy> files;
    // The settings files are copied under the names they have, whatever their case.
    for (const QString &name : {QStringLiteral("Options.ini"), QStringLiteral("Remember.ini")}) {
        const QString path = AppPaths::dataFile(name);
        if (QFileInfo::exists(path))
            files.append({path, QFileInfo(path).fileName()});
    }
    const QDir languages(Localization::languagesFolder());
    const QStringList names =
        languages.entryList({QStringLiteral("*.lang")}, QDir::Files, QDir::Name);
    for (const QString &name : names)
        files.append({languages.filePath(name), QStringLiteral("languages/") + name});
    return files;
}

QString DataBackup::copyInto(const QString &folder, const QString &basePath,
                             BaseFacts::Counts *counts)
{
    // Counted from the closed file: the copy must match what is on the disk.
    BaseFacts::Counts original;
    QString error;
    if (!BaseFacts::countFile(basePath, &original, &error))
        return text("BackupBaseUnreadable",
                    "The backup was not made: the client base %1 cannot be read (%2).")
            .arg(native(basePath), error);

    for (const Copy &file : filesToCopy(basePath)) {
        step(text("BackupCopying", "Copying %1...").arg(native(file.from)));
        if (!copyFile(file.from, folder + QLatin1Char('/') + file.to, &error))
            return text("BackupCopyFailed", "The backup was not made: %1 could not be copied (%2).")
                .arg(native(file.from), error);
    }

    step(text("BackupChecking", "Checking the copy of the client base..."));
    const QString copy = folder + QLatin1Char('/') + QFileInfo(basePath).fileName();
    BaseFacts::Counts copied;
    if (!BaseFacts::countFile(copy, &copied, &error))
        return text("BackupCopyUnreadable",
                    "The backup was not made: the copy of the client base does not open (%1).")
            .arg(error);
    if (!(copied == original))
        return text("BackupCountsDiffer",
                    "The backup was not made: the copy of the client base holds %1 clients and "
                    "%2 tests, the client base %3 clients and %4 tests.")
            .arg(copied.clients)
            .arg(copied.tests)
            .arg(original.clients)
            .arg(original.tests);
    *counts = copied;
    return QString();
}
