#include "ImportSettings.h"

#include "common/CaseInsensitivePath.h"
#include "common/IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// Sections that describe this machine rather than the practitioner's way of working.
bool isMachineSection(const QString &section)
{
    static const QStringList sections = {QStringLiteral("Uniform"), QStringLiteral("Backup"),
                                         QStringLiteral("settings")};
    return sections.contains(section, Qt::CaseInsensitive);
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

bool ImportSettings::isForeignPath(const QString &value)
{
    static const QRegularExpression drive(QStringLiteral("^\\s*[A-Za-z]:[\\\\/]"));
    return drive.match(value).hasMatch() || value.trimmed().startsWith(QLatin1String("\\\\"));
}

void ImportSettings::mergeOptions(IniFile *current, const IniFile &imported,
                                  QList<ImportSource::Note> *notes)
{
    for (const QString &section : imported.sections()) {
        if (isMachineSection(section))
            continue;
        for (const auto &[key, value] : imported.entries(section)) {
            if (isForeignPath(value)) {
                notes->append({QStringLiteral("ImportPathLeft"),
                               QStringLiteral("Options.ini [%1]: %2 is a path on the other "
                                              "machine; this machine's setting is kept."),
                               section, key + QLatin1Char('=') + value});
                continue;
            }
            current->writeString(section, key, value);
        }
    }
}

QList<ImportSettings::LanguageCopy>
ImportSettings::languagesToAdd(const QStringList &languagePaths, const QString &languagesFolder,
                               QList<ImportSource::Note> *notes)
{
    QList<LanguageCopy> copies;
    for (const QString &path : languagePaths) {
        const QFileInfo info(path);
        const QString own = CaseInsensitivePath::resolve(languagesFolder, info.fileName());
        if (!QFileInfo::exists(own)) {
            copies.append({path, info.completeBaseName() + QStringLiteral(".lang")});
            continue;
        }
        if (contents(own) == contents(path))
            continue;
        QString name = info.completeBaseName() + QStringLiteral(" (imported).lang");
        for (int n = 2; QFileInfo::exists(CaseInsensitivePath::resolve(languagesFolder, name));
             ++n)
            name = info.completeBaseName() + QStringLiteral(" (imported %1).lang").arg(n);
        copies.append({path, name});
        notes->append({QStringLiteral("ImportLanguageBeside"),
                       QStringLiteral("%1 differs from this program's file of that name; it is "
                                      "added as \"%2\"."),
                       info.fileName(), QFileInfo(name).completeBaseName()});
    }
    return copies;
}
