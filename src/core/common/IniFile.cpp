#include "IniFile.h"

#include "CaseInsensitivePath.h"
#include "TextFile.h"

#include <algorithm>
#include <climits>

namespace {

QString unquote(const QString &value)
{
    // Windows drops one pair of matching quotes around a value.
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

} // namespace

IniFile::IniFile(const QString &path)
    : m_path(CaseInsensitivePath::resolve(path))
{
    m_existed = TextFile::readLines(m_path, &m_lines);
    indexSections();
}

IniFile IniFile::fromText(const QString &text)
{
    IniFile ini;
    ini.m_lines = TextFile::splitLines(text);
    ini.m_existed = true;
    ini.indexSections();
    return ini;
}

bool IniFile::parseSectionHeader(const QString &line, QString *name)
{
    const QString trimmed = line.trimmed();
    if (!trimmed.startsWith(QLatin1Char('[')))
        return false;
    const int close = int(trimmed.indexOf(QLatin1Char(']')));
    if (close < 0)
        return false;
    if (name)
        *name = trimmed.mid(1, close - 1).trimmed();
    return true;
}

bool IniFile::parseKeyLine(const QString &line, QString *key, QString *value)
{
    const QString trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char(';'))
        || trimmed.startsWith(QLatin1Char('[')))
        return false;
    const int eq = trimmed.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return false;
    *key = trimmed.left(eq).trimmed();
    if (value)
        *value = unquote(trimmed.mid(eq + 1).trimmed());
    return !key->isEmpty();
}

void IniFile::indexSections()
{
    m_sections.clear();
    Range *open = nullptr; // the section being read, when it is the first of its name
    for (int i = 0; i < m_lines.size(); ++i) {
        QString name;
        if (!parseSectionHeader(m_lines.at(i), &name))
            continue;
        if (open)
            open->end = i;
        open = nullptr;
        const QString folded = name.toCaseFolded();
        if (!m_sections.contains(folded))
            open = &*m_sections.insert(folded, Range{i, int(m_lines.size())});
    }
}

IniFile::Range IniFile::findSection(const QString &section) const
{
    return m_sections.value(section.trimmed().toCaseFolded());
}

int IniFile::findKey(const Range &range, const QString &key) const
{
    if (range.header < 0)
        return -1;
    const QString wanted = key.trimmed();
    for (int i = range.header + 1; i < range.end; ++i) {
        QString name;
        if (parseKeyLine(m_lines.at(i), &name, nullptr)
            && name.compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString IniFile::readString(const QString &section, const QString &key,
                            const QString &defaultValue) const
{
    const int line = findKey(findSection(section), key);
    if (line < 0)
        return defaultValue;
    QString name, value;
    parseKeyLine(m_lines.at(line), &name, &value);
    return value;
}

int IniFile::toInteger(const QString &text, int defaultValue, bool *ok)
{
    const QString t = text.trimmed();
    int i = 0;
    bool negative = false;
    if (i < t.size() && (t.at(i) == QLatin1Char('-') || t.at(i) == QLatin1Char('+'))) {
        negative = t.at(i) == QLatin1Char('-');
        ++i;
    }
    const int digitsFrom = i;
    qint64 value = 0;
    while (i < t.size() && t.at(i) >= QLatin1Char('0') && t.at(i) <= QLatin1Char('9')) {
        value = value * 10 + (t.at(i).unicode() - '0');
        if (value > qint64(1) << 31)
            value = qint64(1) << 31; // saturate; clamped below
        ++i;
    }
    if (i == digitsFrom) {
        if (ok)
            *ok = false;
        return defaultValue;
    }
    if (ok)
        *ok = true;
    if (negative)
        value = -value;
    return int(std::clamp<qint64>(value, INT_MIN, INT_MAX));
}

int IniFile::readInteger(const QString &section, const QString &key, int defaultValue) const
{
    const int line = findKey(findSection(section), key);
    if (line < 0)
        return defaultValue;
    return toInteger(readString(section, key), defaultValue);
}

bool IniFile::readBool(const QString &section, const QString &key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool IniFile::hasKey(const QString &section, const QString &key) const
{
    return findKey(findSection(section), key) >= 0;
}

bool IniFile::hasSection(const QString &section) const
{
    return findSection(section).header >= 0;
}

QStringList IniFile::sections() const
{
    QStringList names;
    for (const QString &line : m_lines) {
        QString name;
        if (parseSectionHeader(line, &name)
            && !names.contains(name, Qt::CaseInsensitive))
            names.append(name);
    }
    return names;
}

QStringList IniFile::keys(const QString &section) const
{
    QStringList names;
    const Range range = findSection(section);
    if (range.header < 0)
        return names;
    for (int i = range.header + 1; i < range.end; ++i) {
        QString name;
        if (parseKeyLine(m_lines.at(i), &name, nullptr)
            && !names.contains(name, Qt::CaseInsensitive))
            names.append(name);
    }
    return names;
}

QList<std::pair<QString, QString>> IniFile::entries(const QString &section) const
{
    QList<std::pair<QString, QString>> result;
    const Range range = findSection(section);
    for (int i = range.header + 1; range.header >= 0 && i < range.end; ++i) {
        QString name, value;
        if (parseKeyLine(m_lines.at(i), &name, &value))
            result.append({name, value});
    }
    return result;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    const Range range = findSection(section);
    if (range.header < 0) {
        m_lines.append(QLatin1Char('[') + section.trimmed() + QLatin1Char(']'));
        m_lines.append(key.trimmed() + QLatin1Char('=') + value);
        indexSections();
        return;
    }
    const int line = findKey(range, key);
    if (line >= 0) {
        // Keep the key's spelling and its indentation.
        const QString old = m_lines.at(line);
        const int eq = old.indexOf(QLatin1Char('='));
        m_lines[line] = old.left(eq + 1) + value;
        return;
    }
    // After the last non-blank line of the section.
    int insertAt = range.end;
    while (insertAt > range.header + 1 && m_lines.at(insertAt - 1).trimmed().isEmpty())
        --insertAt;
    m_lines.insert(insertAt, key.trimmed() + QLatin1Char('=') + value);
    indexSections();
}

void IniFile::writeInteger(const QString &section, const QString &key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::removeKey(const QString &section, const QString &key)
{
    const int line = findKey(findSection(section), key);
    if (line >= 0) {
        m_lines.removeAt(line);
        indexSections();
    }
}

bool IniFile::save(QString *error) const
{
    return saveAs(m_path, error);
}

bool IniFile::saveAs(const QString &path, QString *error) const
{
    if (path.isEmpty()) {
        if (error)
            *error = QStringLiteral("The settings file has no name.");
        return false;
    }
    return TextFile::writeLines(path, m_lines, error);
}
