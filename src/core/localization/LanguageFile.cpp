#include "LanguageFile.h"

namespace {

const QString kLanguage = QStringLiteral("language");
const QString kFont = QStringLiteral("Font");

// The rule the [language] reads follow too: one pair of matching quotes is dropped.
QString unquote(const QString &value)
{
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

bool isSectionHeader(const QString &trimmed)
{
    return trimmed.startsWith(QLatin1Char('[')) && trimmed.contains(QLatin1Char(']'));
}

// A key=text line, read as the INI rules read it; false for blank, comment and header lines.
bool parseTextLine(const QString &line, QString *key, QString *value)
{
    const QString trimmed = line.trimmed();
    if (trimmed.startsWith(QLatin1Char(';')) || trimmed.startsWith(QLatin1Char('[')))
        return false;
    const int eq = trimmed.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return false;
    *key = trimmed.left(eq).trimmed();
    *value = unquote(trimmed.mid(eq + 1).trimmed());
    return !key->isEmpty();
}

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
    QList<std::pair<QString, QString>> result;
    bool inSection = false;
    QString name, value;
    for (const QString &line : m_ini.lines()) {
        const QString trimmed = line.trimmed();
        if (isSectionHeader(trimmed)) {
            if (inSection)
                break; // only the first [language] section counts, as for text()
            const QString section = trimmed.mid(1, trimmed.indexOf(QLatin1Char(']')) - 1).trimmed();
            inSection = section.compare(kLanguage, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (inSection && parseTextLine(line, &name, &value))
            result.append({name, value});
    }
    return result;
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
        if (!parseTextLine(line, &name, &value) || name.compare(wanted, Qt::CaseInsensitive) != 0)
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
