#include "LanguageDraft.h"

#include "LanguageDefaults.h"
#include "LanguageFile.h"
#include "Localization.h"
#include "common/Cp1251.h"
#include "common/IniFile.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

namespace {
const QString kLanguage = QStringLiteral("language");

QString englishTextOf(const LanguageFile &english, const QString &key)
{
    const QString text = english.text(key);
    return text.isEmpty() ? LanguageDefaults::defaultText(key) : text;
}

// The rows of every known key, then of the keys only the files have, each key once.
QList<LanguageDraft::Row> rowsFor(const LanguageFile *language)
{
    const LanguageFile english(Localization::languageFilePath(Localization::englishName()));
    QList<LanguageDraft::Row> rows;
    QHash<QString, bool> seen;
    auto add = [&](const QString &key) {
        const QString folded = key.trimmed().toCaseFolded();
        if (folded.isEmpty() || seen.contains(folded))
            return;
        seen.insert(folded, true);
        const QString englishText = englishTextOf(english, key);
        rows.append({key.trimmed(), englishText,
                     language ? language->text(key) : englishText});
    };
    for (const QString &key : LanguageDefaults::allKeys())
        add(key);
    for (const QString &key : english.textKeys())
        add(key);
    if (language) {
        for (const QString &key : language->textKeys())
            add(key);
    }
    return rows;
}
} // namespace

LanguageDraft LanguageDraft::load(const QString &languageName)
{
    const LanguageFile file(Localization::languageFilePath(languageName));
    LanguageDraft draft;
    draft.m_name = languageName.trimmed();
    draft.m_charset = file.font().charset;
    draft.m_rows = rowsFor(&file);
    return draft;
}

LanguageDraft LanguageDraft::fromEnglish()
{
    LanguageDraft draft;
    draft.m_rows = rowsFor(nullptr);
    return draft;
}

void LanguageDraft::setText(int row, const QString &text)
{
    if (row < 0 || row >= m_rows.size() || m_rows[row].text == text)
        return;
    m_rows[row].text = text;
    m_changed = true;
}

int LanguageDraft::findNext(const QString &needle, int from) const
{
    const QString wanted = needle.trimmed();
    if (wanted.isEmpty() || m_rows.isEmpty())
        return -1;
    const int count = int(m_rows.size());
    for (int step = 1; step <= count; ++step) {
        const int row = ((from + step) % count + count) % count;
        const Row &r = m_rows[row];
        for (const QString *field : {&r.key, &r.englishText, &r.text}) {
            if (field->contains(wanted, Qt::CaseInsensitive))
                return row;
        }
    }
    return -1;
}

bool LanguageDraft::saveAs(const QString &name, int charset, QString *error)
{
    const QString trimmed = name.trimmed();
    if (!Localization::isLanguageName(trimmed)) {
        if (error)
            *error = QStringLiteral("A language name cannot be empty, start with a dot, or hold / \\ : * ? \" < > | "
                                    "or a control character.");
        return false;
    }
    for (const Row &row : std::as_const(m_rows)) {
        if (!Cp1251::canEncode(row.text)) {
            if (error)
                *error = QStringLiteral("The text of %1 has characters a language file cannot "
                                        "hold.").arg(row.key);
            return false;
        }
        if (row.text.contains(QLatin1Char('\n')) || row.text.contains(QLatin1Char('\r'))) {
            if (error)
                *error = QStringLiteral("The text of %1 must stay on one line.").arg(row.key);
            return false;
        }
    }
    // A file of that name in another letter case is the same language: write over it.
    QString path = Localization::languageFilePath(trimmed);
    if (path.isEmpty() || !QFileInfo::exists(path))
        path = Localization::languagesFolder() + QLatin1Char('/') + trimmed + QStringLiteral(".lang");
    QDir().mkpath(Localization::languagesFolder());

    IniFile ini(path);
    ini.writeString(QStringLiteral("settings"), QStringLiteral("name"), trimmed);
    ini.writeString(QStringLiteral("Font"), QStringLiteral("name"), QStringLiteral("Arial"));
    ini.writeString(QStringLiteral("Font"), QStringLiteral("size"), QStringLiteral("8"));
    ini.writeString(QStringLiteral("Font"), QStringLiteral("charset"), QString::number(charset));
    for (const Row &row : std::as_const(m_rows))
        ini.writeString(kLanguage, row.key, row.text);
    if (!ini.save(error))
        return false;
    m_name = trimmed;
    m_charset = charset;
    m_changed = false;
    return true;
}

const QList<std::pair<QString, int>> &LanguageDraft::charsets()
{
    static const QList<std::pair<QString, int>> list = {
        {QStringLiteral("ANSI_CHARSET"), 0},       {QStringLiteral("DEFAULT_CHARSET"), 1},
        {QStringLiteral("SYMBOL_CHARSET"), 2},     {QStringLiteral("MAC_CHARSET"), 77},
        {QStringLiteral("SHIFTJIS_CHARSET"), 128}, {QStringLiteral("HANGEUL_CHARSET"), 129},
        {QStringLiteral("JOHAB_CHARSET"), 130},    {QStringLiteral("GB2312_CHARSET"), 134},
        {QStringLiteral("CHINESEBIG5_CHARSET"), 136}, {QStringLiteral("GREEK_CHARSET"), 161},
        {QStringLiteral("TURKISH_CHARSET"), 162},  {QStringLiteral("VIETNAMESE_CHARSET"), 163},
        {QStringLiteral("HEBREW_CHARSET"), 177},   {QStringLiteral("ARABIC_CHARSET"), 178},
        {QStringLiteral("BALTIC_CHARSET"), 186},   {QStringLiteral("RUSSIAN_CHARSET"), 204},
        {QStringLiteral("THAI_CHARSET"), 222},     {QStringLiteral("EASTEUROPE_CHARSET"), 238},
        {QStringLiteral("OEM_CHARSET"), 255}};
    return list;
}

std::optional<int> LanguageDraft::parseCharset(const QString &text)
{
    const QString t = text.trimmed();
    for (const auto &[name, value] : charsets()) {
        if (t.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    bool ok = false;
    const int value = t.toInt(&ok);
    if (ok && value >= 0 && value <= 255)
        return value;
    return std::nullopt;
}
