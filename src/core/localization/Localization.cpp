#include "Localization.h"

#include "LanguageDefaults.h"

#include "common/Cp1251.h"

#include "app/AppPaths.h"
#include "common/CaseInsensitivePath.h"
#include "common/IniFile.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString optionsPath()
{
    return AppPaths::dataFile(QStringLiteral("Options.ini"));
}

} // namespace

Localization::Localization()
    : Localization(currentLanguage())
{
}

Localization::Localization(const QString &languageName)
    : m_language(languageName.trimmed())
    , m_currentPath(languageFilePath(m_language))
    , m_englishPath(languageFilePath(englishName()))
{
}

const LanguageFile &Localization::currentFile() const
{
    if (!m_current)
        m_current.emplace(m_currentPath);
    return *m_current;
}

const LanguageFile &Localization::englishFile() const
{
    if (!m_english)
        m_english.emplace(m_englishPath);
    return *m_english;
}

QString Localization::lookup(const QString &key) const
{
    const QString text = currentFile().lookup(key);
    if (!text.isEmpty())
        return text;
    if (m_currentPath == m_englishPath) // English itself: nothing further to fall back on
        return QString();
    return englishFile().lookup(key);
}

QString Localization::Translate(const QString &key)
{
    return Localization().lookup(key);
}

QString Localization::translateOr(const QString &key, const QString &fallback)
{
    QString text = Translate(key);
    if (text.isEmpty())
        text = LanguageDefaults::defaultText(key);
    return text.isEmpty() ? fallback : text;
}

QString Localization::currentLanguage()
{
    const IniFile options(optionsPath());
    const QString name = options.readString(QStringLiteral("language"), QStringLiteral("value"))
                             .trimmed();
    return name.isEmpty() ? englishName() : name;
}

bool Localization::setCurrentLanguage(const QString &name, QString *error)
{
    const QString path = languageFilePath(name);
    if (path.isEmpty()) {
        if (error)
            *error = QStringLiteral("\"%1\" is not a usable language name.").arg(name);
        return false;
    }
    if (!QFileInfo(path).isFile()) {
        if (error)
            *error = QStringLiteral("The language file %1 was not found.").arg(path);
        return false;
    }
    IniFile options(optionsPath());
    options.writeString(QStringLiteral("language"), QStringLiteral("value"), name.trimmed());
    return options.save(error);
}

QStringList Localization::availableLanguages()
{
    const QDir folder(languagesFolder());
    const QFileInfoList files = folder.entryInfoList({QStringLiteral("*.lang")}, QDir::Files,
                                                     QDir::Name | QDir::IgnoreCase);
    QStringList names;
    for (const QFileInfo &file : files)
        names.append(file.completeBaseName());
    return names;
}

QString Localization::languagesFolder()
{
    return CaseInsensitivePath::resolve(AppPaths::GetDataPath(), QStringLiteral("languages"));
}

bool Localization::isLanguageName(const QString &name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('.')) || !Cp1251::canEncode(trimmed))
        return false;
    for (const QChar c : trimmed) {
        if (QStringLiteral("/\\:*?\"<>|").contains(c) || c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

QString Localization::languageFilePath(const QString &name)
{
    if (!isLanguageName(name))
        return QString();
    return CaseInsensitivePath::resolve(languagesFolder(), name.trimmed() + QStringLiteral(".lang"));
}

QString Localization::fieldMessage(const QString &text, const QString &field, int limit)
{
    if (text.contains(QLatin1String("%2")))
        return text.arg(field, QString::number(limit));
    return text.arg(field);
}
