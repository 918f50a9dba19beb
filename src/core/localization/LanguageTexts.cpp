#include "LanguageTexts.h"

#include "LanguageDefaults.h"
#include "Localization.h"

#include <QSet>

LanguageTexts::LanguageTexts()
    : m_languageName(Localization::englishName())
{
}

LanguageTexts LanguageTexts::load(const QString &languageName)
{
    LanguageTexts texts = fromFile(LanguageFile(Localization::languageFilePath(languageName)),
                                   languageName.trimmed());
    // Texts of later windows have no built-in default: the English file stands in for them.
    if (texts.m_languageName.compare(Localization::englishName(), Qt::CaseInsensitive) != 0) {
        const LanguageFile english(Localization::languageFilePath(Localization::englishName()));
        for (const auto &[key, value] : english.textLines()) {
            const QString folded = key.toCaseFolded();
            if (!value.isEmpty() && !texts.m_englishTexts.contains(folded))
                texts.m_englishTexts.insert(folded, value);
        }
    }
    return texts;
}

LanguageTexts LanguageTexts::loadCurrent()
{
    return load(Localization::currentLanguage());
}

LanguageTexts LanguageTexts::fromFile(const LanguageFile &file, const QString &languageName)
{
    LanguageTexts texts;
    texts.m_languageName = languageName;
    texts.m_fileFound = file.exists();
    texts.m_font = file.font();
    texts.m_displayName = file.displayName();
    // The first line of a key is its text, as for every INI read; an empty text counts as
    // missing so that no control is left without a caption.
    QSet<QString> seen;
    for (const auto &[key, value] : file.textLines()) {
        const QString folded = key.toCaseFolded();
        if (seen.contains(folded))
            continue;
        seen.insert(folded);
        if (!value.isEmpty())
            texts.m_fileTexts.insert(folded, value);
    }
    return texts;
}

QString LanguageTexts::text(const QString &key) const
{
    const QString folded = key.trimmed().toCaseFolded();
    const auto it = m_fileTexts.constFind(folded);
    if (it != m_fileTexts.constEnd())
        return it.value();
    if (LanguageDefaults::hasDefault(key))
        return LanguageDefaults::defaultText(key);
    return m_englishTexts.value(folded);
}

QString LanguageTexts::displayName() const
{
    return m_displayName.isEmpty() ? m_languageName : m_displayName;
}

namespace {

QLocale::Language languageNamed(const QString &name)
{
    const QString wanted = name.trimmed();
    if (wanted.isEmpty())
        return QLocale::AnyLanguage;
    for (int l = QLocale::AnyLanguage + 1; l <= QLocale::LastLanguage; ++l) {
        const auto language = static_cast<QLocale::Language>(l);
        if (QLocale::languageToString(language).compare(wanted, Qt::CaseInsensitive) == 0)
            return language;
    }
    for (int l = QLocale::AnyLanguage + 1; l <= QLocale::LastLanguage; ++l) {
        const QLocale locale(static_cast<QLocale::Language>(l));
        if (locale.language() == l
            && locale.nativeLanguageName().compare(wanted, Qt::CaseInsensitive) == 0)
            return locale.language();
    }
    return QLocale::AnyLanguage;
}

// Windows character sets that name one language unambiguously.
QLocale::Language languageOfCharset(int charset)
{
    switch (charset) {
    case 204: return QLocale::Russian;
    case 161: return QLocale::Greek;
    case 162: return QLocale::Turkish;
    case 177: return QLocale::Hebrew;
    case 178: return QLocale::Arabic;
    case 222: return QLocale::Thai;
    case 128: return QLocale::Japanese;
    case 129: return QLocale::Korean;
    default: return QLocale::AnyLanguage;
    }
}

} // namespace

QLocale LanguageTexts::locale() const
{
    QLocale::Language language = languageNamed(m_languageName);
    if (language == QLocale::AnyLanguage)
        language = languageNamed(m_displayName);
    if (language == QLocale::AnyLanguage)
        language = languageOfCharset(m_font.charset);
    const QLocale system = QLocale::system();
    if (language == QLocale::AnyLanguage || language == system.language())
        return system;
    return QLocale(language);
}
