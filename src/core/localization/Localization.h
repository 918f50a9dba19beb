#pragma once

#include "LanguageFile.h"

#include <QString>
#include <QStringList>

#include <optional>

// The lookup of a message at the moment it is shown: the text in the current language's file,
// else the text in the English file, else empty. The files live in the data folder's
// languages/ as <name>.lang and are read anew for each lookup, so edits take effect at once;
// the English file is only read when the current one lacks the text.
class Localization
{
public:
    // The lookup for the current language (Options.ini).
    Localization();
    explicit Localization(const QString &languageName);

    QString languageName() const { return m_language; }
    // Paths of the two files (empty for a name that cannot name a file); they need not exist.
    QString currentFileName() const { return m_currentPath; }
    QString englishFileName() const { return m_englishPath; }

    QString lookup(const QString &key) const;

    // Localization().lookup(key).
    static QString Translate(const QString &key);
    // Translate(key), else the built-in English text of the key, else `fallback`: for texts
    // that must say something even when both language files lack them.
    static QString translateOr(const QString &key, const QString &fallback);
    // A message about one field: "%1" becomes the field's name and "%2", where the text has
    // it, the field's limit (older language files say only which field).
    static QString fieldMessage(const QString &text, const QString &field, int limit);

    static QString englishName() { return QStringLiteral("English"); }
    // [language] value of Options.ini in the data folder; "English" when unset.
    static QString currentLanguage();
    // Stores `name` as the current language. Refuses a name that cannot name a file in the
    // languages folder or whose file is missing, and changes nothing then.
    static bool setCurrentLanguage(const QString &name, QString *error = nullptr);
    // One rule for every language name, whether typed in the editor, offered for download or
    // made current: not empty, not starting with ".", none of / \ : * ? " < > | nor a control
    // character, and writable in Windows-1251.
    static bool isLanguageName(const QString &name);
    // Base names of every *.lang file in the data folder's languages/, sorted.
    static QStringList availableLanguages();

    static QString languagesFolder();
    // The file of language `name`, found whatever the case of its name; empty for a name that
    // is empty or would lead out of the languages folder.
    static QString languageFilePath(const QString &name);

private:
    const LanguageFile &currentFile() const;
    const LanguageFile &englishFile() const;

    QString m_language;
    QString m_currentPath;
    QString m_englishPath;
    mutable std::optional<LanguageFile> m_current;
    mutable std::optional<LanguageFile> m_english;
};
