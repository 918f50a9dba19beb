#include "InquirerFile.h"

#include "app/AppPaths.h"
#include "common/CaseInsensitivePath.h"
#include "common/IniFile.h"

#include <QFileInfo>

#include <algorithm>

InquirerFile InquirerFile::load(const QString &path)
{
    InquirerFile file;
    file.m_path = path;
    const IniFile ini(path);
    file.m_existed = ini.existed();
    const int count = std::clamp(ini.readInteger(QStringLiteral("Options"), QStringLiteral("count"), 0),
                                 0, MaxQuestions);
    file.m_items.reserve(count);
    for (int n = 1; n <= count; ++n) {
        const QString section = QString::number(n);
        const QString interpretations = section + QLatin1Char('a');
        InquirerItem item;
        item.text = ini.readString(section, QStringLiteral("Id"));
        const int answers = std::clamp(ini.readInteger(section, QStringLiteral("count"), 0), 0,
                                       MaxAnswers);
        for (int k = 1; k <= answers; ++k) {
            const QString key = QString::number(k);
            item.answers.append(ini.readString(section, key));
            item.interpretations.append(ini.readString(interpretations, key));
        }
        file.m_items.append(item);
    }
    return file;
}

QString InquirerFile::pathFor(const QString &language, const QString &folder)
{
    const QString dir = folder.isEmpty() ? AppPaths::installFolder() : folder;
    const QString plain = QStringLiteral("Inquirer.INI");
    // A language name is a plain file-name part; anything that could lead elsewhere is ignored.
    const bool usable = !language.trimmed().isEmpty() && !language.contains(QLatin1Char('/'))
                        && !language.contains(QLatin1Char('\\')) && !language.startsWith(QLatin1Char('.'));
    if (usable) {
        const QString translated = CaseInsensitivePath::resolve(
            dir, QStringLiteral("Inquirer.") + language.trimmed() + QStringLiteral(".INI"));
        if (QFileInfo(translated).isFile())
            return translated;
    }
    return CaseInsensitivePath::resolve(dir, plain);
}

InquirerItem InquirerFile::item(int index) const
{
    if (index < 0 || index >= m_items.size())
        return {};
    return m_items.at(index);
}
