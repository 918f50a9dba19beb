#pragma once

#include "LanguageFile.h"
#include "LanguageFont.h"

#include <QHash>
#include <QLocale>
#include <QString>

// The texts a language gives the windows when it is applied: for every key of
// LanguageDefaults::keys() the file's [language] text, or the built-in English text when the
// file lacks the key or leaves it empty; and the file's font. A missing file gives every
// built-in text and the default font. Held by the windows until the next application.
class LanguageTexts
{
public:
    // The built-in English texts and the default font, as if no language file existed.
    LanguageTexts();

    // The language file of `languageName` in the data folder's languages/.
    static LanguageTexts load(const QString &languageName);
    // The current language of Options.ini.
    static LanguageTexts loadCurrent();
    static LanguageTexts fromFile(const LanguageFile &file, const QString &languageName);

    // The text of `key` (keys compare without case). A key without a built-in text gives the
    // file's [language] text, or empty.
    QString text(const QString &key) const;
    LanguageFont font() const { return m_font; }
    QString languageName() const { return m_languageName; }
    // [settings] name of the file; the language name when the file has none.
    QString displayName() const;
    bool fileFound() const { return m_fileFound; }
    // The conventions dates, times and numbers are written in under this language: the
    // language the file or its name is in, found by its English or native name, else by the
    // font's character set; the system's when nothing tells. The system's own country is
    // kept when it speaks the same language.
    QLocale locale() const;

private:
    QHash<QString, QString> m_fileTexts; // case-folded key -> non-empty text of the file
    QHash<QString, QString> m_englishTexts; // the English file's, for keys without a default
    LanguageFont m_font;
    QString m_languageName;
    QString m_displayName;
    bool m_fileFound = false;
};
