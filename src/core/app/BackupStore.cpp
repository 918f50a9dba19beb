#include "BackupStore.h"

#include "AppPaths.h"
#include "common/ErrorOut.h"
#include "common/IniFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace {

const QString kSection = QStringLiteral("Backup");
const QString kManifestTime = QStringLiteral("yyyy-MM-dd HH:mm:ss");
constexpr int kDaily = 14;
constexpr int kWeekly = 8;

QString optionsPath()
{
    return AppPaths::dataFile(QStringLiteral("Options.ini"));
}

int isoWeekKey(const QDate &date)
{
    int year = 0;
    const int week = date.weekNumber(&year);
    return year * 100 + week;
}

} // namespace

QString BackupStore::defaultFolder()
{
    return AppPaths::makerFolder() + QStringLiteral("/Backups");
}

QString BackupStore::folder()
{
    const QString chosen =
        IniFile(optionsPath()).readString(kSection, QStringLiteral("autoFolder")).trimmed();
    return chosen.isEmpty() ? defaultFolder() : chosen;
}

bool BackupStore::setFolder(const QString &folder, QString *error)
{
    IniFile ini(optionsPath());
    ini.writeString(kSection, QStringLiteral("autoFolder"), folder);
    return ini.save(error);
}

bool BackupStore::writeManifest(const QString &backupFolder, const Entry &entry, QString *error)
{
    IniFile ini(backupFolder + QLatin1Char('/') + manifestName());
    ini.writeString(kSection, QStringLiteral("time"), entry.time.toString(kManifestTime));
    ini.writeString(kSection, QStringLiteral("base"), entry.baseFile);
    ini.writeInteger(kSection, QStringLiteral("clients"), entry.counts.clients);
    ini.writeInteger(kSection, QStringLiteral("tests"), entry.counts.tests);
    ini.writeInteger(kSection, QStringLiteral("verified"), entry.verified ? 1 : 0);
    return ini.save(error);
}

bool BackupStore::isOurs(const QString &backupFolder, Entry *entry)
{
    static const QRegularExpression name(
        QStringLiteral("^Vandrel backup \\d{4}-\\d{2}-\\d{2} \\d{2}-\\d{2}( \\(\\d+\\))?$"));
    const QFileInfo info(backupFolder);
    const QString manifest = backupFolder + QLatin1Char('/') + manifestName();
    if (!info.isDir() || info.isSymLink() || !name.match(info.fileName()).hasMatch()
        || !QFileInfo(manifest).isFile())
        return false;
    const IniFile ini(manifest);
    Entry found;
    found.folder = info.absoluteFilePath();
    found.time =
        QDateTime::fromString(ini.readString(kSection, QStringLiteral("time")), kManifestTime);
    found.baseFile = ini.readString(kSection, QStringLiteral("base"));
    found.counts.clients = ini.readInteger(kSection, QStringLiteral("clients"), -1);
    found.counts.tests = ini.readInteger(kSection, QStringLiteral("tests"), -1);
    found.verified = ini.readInteger(kSection, QStringLiteral("verified"), 0) == 1;
    // A manifest naming a file outside its folder is not ours.
    if (!found.time.isValid() || found.baseFile.isEmpty()
        || found.baseFile.contains(QLatin1Char('/')))
        return false;
    if (entry)
        *entry = found;
    return true;
}

QList<BackupStore::Entry> BackupStore::list(const QString &folder)
{
    QList<Entry> entries;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        Entry entry;
        if (isOurs(dir.filePath(name), &entry))
            entries.append(entry);
    }
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        return a.time != b.time ? a.time > b.time : a.folder > b.folder;
    });
    return entries;
}

QStringList BackupStore::toRemove(const QList<Entry> &entries, const QStringList &keep)
{
    QSet<QString> keptAnyway;
    for (const QString &path : keep)
        keptAnyway.insert(QFileInfo(path).absoluteFilePath());
    QSet<QDate> days;
    QSet<int> weeks;
    QStringList removed;
    for (const Entry &entry : entries) {
        const QDate day = entry.time.date();
        // Every backup of the latest day stays until a later day's rotation: the one made
        // before a restore, say, is not lost to the backup made at the close of the same day.
        bool kept = keptAnyway.contains(QFileInfo(entry.folder).absoluteFilePath())
                    || day == entries.first().time.date();
        if (!days.contains(day) && days.size() < kDaily) {
            days.insert(day);
            kept = true;
        }
        const int week = isoWeekKey(day);
        if (!weeks.contains(week) && weeks.size() < kWeekly) {
            weeks.insert(week);
            kept = true;
        }
        if (!kept)
            removed.append(entry.folder);
    }
    return removed;
}

QStringList BackupStore::rotate(const QString &folder, const QStringList &keep, QString *error)
{
    QStringList removed, failed;
    for (const QString &path : toRemove(list(folder), keep)) {
        // Checked again just before: only our own backup folders are ever removed.
        if (!isOurs(path))
            continue;
        if (QDir(path).removeRecursively())
            removed.append(path);
        else
            failed.append(QDir::toNativeSeparators(path));
    }
    if (!failed.isEmpty())
        setError(error, QStringLiteral("Old backups could not be removed: %1")
                            .arg(failed.join(QStringLiteral(", "))));
    return removed;
}

BackupStore::Entry BackupStore::lastVerified()
{
    for (const Entry &entry : list(folder()))
        if (entry.verified)
            return entry;
    return Entry();
}

bool BackupStore::isDueToday(const QDate &today)
{
    const QDate done = QDate::fromString(
        IniFile(optionsPath()).readString(kSection, QStringLiteral("autoDate")).trimmed(),
        Qt::ISODate);
    return done != today;
}

bool BackupStore::rememberDone(const Entry &entry, QString *error)
{
    IniFile ini(optionsPath());
    ini.writeString(kSection, QStringLiteral("autoDate"), entry.time.date().toString(Qt::ISODate));
    ini.writeString(kSection, QStringLiteral("folder"), entry.folder);
    ini.writeString(kSection, QStringLiteral("time"),
                    entry.time.toString(QStringLiteral("yyyy-MM-dd HH:mm")));
    return ini.save(error);
}

bool BackupStore::isOverdue(const QDateTime &now, bool baseHasClients, int days)
{
    const Entry last = lastVerified();
    if (!last.time.isValid())
        return baseHasClients;
    return last.time.addDays(days) < now;
}
