#include "ImportSource.h"

#include "common/CaseInsensitivePath.h"
#include "common/IniFileCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace {

const QString BaseName = QStringLiteral("BASE.fdb");

bool isBackupName(const QString &path)
{
    return path.endsWith(QLatin1String(".fbk"), Qt::CaseInsensitive);
}

// The newest *.fbk of a folder, whatever the case of its extension.
QString newestBackupIn(const QString &folder)
{
    const QFileInfoList files = QDir(folder).entryInfoList({QStringLiteral("*.fbk")}, QDir::Files,
                                                           QDir::Time);
    return files.isEmpty() ? QString() : files.first().absoluteFilePath();
}

ImportSource::Note note(const char *key, const char *english, const QString &file,
                        const QString &detail = QString())
{
    return {QString::fromLatin1(key), QString::fromUtf8(english), QFileInfo(file).fileName(),
            detail};
}

// A settings or language file that cannot be read whole is left behind.
bool checkWhole(const QString &path, ImportSource::Findings *found)
{
    if (IniFileCheck::inspect(path).whole())
        return true;
    found->notes.append(note("ImportFileDamaged",
                             "%1 cannot be read as a settings or language file of Windows-1251 "
                             "text; it is left out.",
                             path));
    return false;
}

} // namespace

int ImportSource::odsMajor(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    // The header page: page type 1, then at byte 16 the page size and at 18 the ODS version,
    // whose top bit marks a Firebird (not an InterBase) base.
    const QByteArray head = file.read(20);
    if (head.size() < 20 || head.at(0) != 1)
        return 0;
    const quint16 pageSize = qFromLittleEndian<quint16>(head.constData() + 16);
    const quint16 ods = qFromLittleEndian<quint16>(head.constData() + 18);
    const bool sizeKnown = pageSize == 1024 || pageSize == 2048 || pageSize == 4096
                           || pageSize == 8192 || pageSize == 16384 || pageSize == 32768;
    if (!sizeKnown || !(ods & 0x8000))
        return 0;
    return ods & 0x7fff;
}

QString ImportSource::dataFolderIn(const QString &folder)
{
    const QStringList below = {QString(), QStringLiteral("Q7"), QStringLiteral("Quillane/Q7")};
    for (const QString &relative : below) {
        QString candidate = folder;
        for (const QString &part : relative.split(QLatin1Char('/'), Qt::SkipEmptyParts))
            candidate = CaseInsensitivePath::resolve(candidate, part);
        if (QFileInfo::exists(CaseInsensitivePath::resolve(candidate, BaseName))
            || !newestBackupIn(candidate).isEmpty()
            || QFileInfo::exists(CaseInsensitivePath::resolve(candidate,
                                                              QStringLiteral("Options.ini"))))
            return QFileInfo(candidate).absoluteFilePath();
    }
    return QFileInfo(folder).absoluteFilePath();
}

void ImportSource::findBase(const QString &chosen, Findings *found)
{
    QString base = chosen;
    if (base.isEmpty()) {
        base = CaseInsensitivePath::resolve(found->folder, BaseName);
        if (!QFileInfo(base).isFile())
            base = newestBackupIn(found->folder);
    }
    if (base.isEmpty() || !QFileInfo(base).isFile()) {
        found->notes.append(note("ImportNoBase",
                                 "No client base (BASE.fdb) and no backup of one (*.fbk) was "
                                 "found in %1.",
                                 found->folder));
        return;
    }
    found->basePath = QFileInfo(base).absoluteFilePath();
    if (isBackupName(base)) {
        found->baseKind = BaseKind::Backup;
        return;
    }
    found->odsMajor = odsMajor(base);
    if (found->odsMajor == SupportedOds) {
        found->baseKind = BaseKind::Base;
        return;
    }
    // A base of an older Firebird cannot be opened here; a backup of it beside it can be used.
    const QString backup = chosen.isEmpty() ? newestBackupIn(found->folder) : QString();
    if (!backup.isEmpty()) {
        found->notes.append(note("ImportBackupInstead",
                                 "%1 cannot be opened by this machine's Firebird; the backup "
                                 "file beside it is used instead.",
                                 base));
        found->basePath = backup;
        found->baseKind = BaseKind::Backup;
    } else if (found->odsMajor == 0) {
        found->baseKind = BaseKind::NotFirebird;
        found->notes.append(note("ImportNotFirebird", "%1 is not a Firebird database.", base));
    } else {
        found->baseKind = BaseKind::OtherFormat;
        found->notes.append(note(
            "ImportOtherFormat",
            "%1 is a database of another Firebird version (on-disk format %2), which this "
            "machine's Firebird 3 cannot open. On the Windows machine, make a backup file of it "
            "with Firebird's gbak (gbak -b BASE.FDB BASE.FBK) and import that file.",
            base, QString::number(found->odsMajor)));
    }
}

void ImportSource::findSettings(Findings *found)
{
    const QString options = CaseInsensitivePath::resolve(found->folder,
                                                         QStringLiteral("Options.ini"));
    if (QFileInfo(options).isFile() && checkWhole(options, found))
        found->optionsPath = options;
    const QString remember = CaseInsensitivePath::resolve(found->folder,
                                                          QStringLiteral("Remember.ini"));
    if (QFileInfo(remember).isFile() && checkWhole(remember, found))
        found->rememberPath = remember;
    const QString languages = CaseInsensitivePath::resolve(found->folder,
                                                           QStringLiteral("languages"));
    const QFileInfoList files = QDir(languages).entryInfoList({QStringLiteral("*.lang")},
                                                              QDir::Files, QDir::Name);
    for (const QFileInfo &file : files) {
        if (checkWhole(file.absoluteFilePath(), found))
            found->languagePaths.append(file.absoluteFilePath());
    }
}

ImportSource::Findings ImportSource::inspect(const QString &path)
{
    Findings found;
    const QFileInfo info(path);
    if (!info.exists()) {
        found.notes.append(note("ImportMissing", "%1 does not exist.", path));
        return found;
    }
    const bool fileChosen = info.isFile();
    found.folder = fileChosen ? info.absolutePath() : dataFolderIn(path);
    findBase(fileChosen ? info.absoluteFilePath() : QString(), &found);
    findSettings(&found);
    return found;
}
