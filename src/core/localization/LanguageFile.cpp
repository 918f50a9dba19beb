#include "LanguageFile.h"

namespace {

const QString kLanguage = QStringLiteral("language");
const QString kFont = QStringLiteral("Font");

} // namespace

LanguageFile::LanguageFile(const QString &path)
{
    if (!path.isEmpty())
        m_ini = IniFile(path);
}

LanguageFile LanguageFile::fromText(const QString &text)
{
    LanguageFile file;
    file.m_ini = IniFile::fromText(text);
    return file;
}

QString LanguageFile::text(const QString &key, const QString &defaultValue) const
{
    return m_ini.readString(kLanguage, key, defaultValue);
}

bool LanguageFile::hasText(const QString &key) const
{
    return m_ini.hasKey(kLanguage, key);
}

QStringList LanguageFile::textKeys() const
{
    return m_ini.keys(kLanguage);
}

QList<std::pair<QString, QString>> LanguageFile::textLines() const
{
    return m_ini.entries(kLanguage);
}

QString LanguageFile::findAnywhere(const QString &key, bool *found) const
{
    const QString wanted = key.trimmed();
    if (found)
        *found = false;
    if (wanted.isEmpty())
        return QString();
    QString name, value;
    for (const QString &line : m_ini.lines()) {
        if (!IniFile::parseKeyLine(line, &name, &value) || name.compare(wanted, Qt::CaseInsensitive) != 0)
            continue;
        if (found)
            *found = true;
        return value;
    }
    return QString();
}

QString LanguageFile::lookup(const QString &key) const
{
    if (hasText(key))
        return text(key);
    return findAnywhere(key);
}

LanguageFont LanguageFile::font() const
{
    LanguageFont font;
    const QString name = m_ini.readString(kFont, QStringLiteral("name")).trimmed();
    if (!name.isEmpty())
        font.name = name;
    font.charset = m_ini.readInteger(kFont, QStringLiteral("charset"), font.charset);
    font.size = m_ini.readInteger(kFont, QStringLiteral("size"), font.size);
    return font;
}

QString LanguageFile::displayName() const
{
    return m_ini.readString(QStringLiteral("settings"), QStringLiteral("name")).trimmed();
}
