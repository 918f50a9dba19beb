#pragma once

#include "LanguageFont.h"
#include "common/IniFile.h"

#include <QString>
#include <QList>
#include <QStringList>

#include <utility>

// One language file: an INI file in Windows-1251 with the sections [settings] (display name),
// [Font] and [language] (one key=text line per interface text). Read once; nothing keeps the
// file open.
class LanguageFile
{
public:
    LanguageFile() = default;
    // A missing or unreadable file reads as empty: every text and the font take their defaults.
    explicit LanguageFile(const QString &path);
    static LanguageFile fromText(const QString &text);

    bool exists() const { return m_ini.existed(); }
    QString path() const { return m_ini.path(); }

    // The value of `key` in section [language]; `defaultValue` when the key is missing.
    QString text(const QString &key, const QString &defaultValue = QString()) const;
    bool hasText(const QString &key) const;
    // The keys of section [language] in file order.
    QStringList textKeys() const;
    // Every key=text line of section [language] in file order, in one pass (a key written twice
    // appears twice; the first is the one text() reads).
    QList<std::pair<QString, QString>> textLines() const;

    // The value of the first line of the whole file of the form key=text, whatever section it
    // stands in (messages looked up when they are shown). Keys compare without case, blanks
    // around key and value are dropped; comment lines and section headers never match.
    // Empty when no line has the key.
    QString findAnywhere(const QString &key, bool *found = nullptr) const;
    // The text of a message looked up when it is shown: the [language] text when the section
    // has the key, else findAnywhere(). [language] comes first because some keys also name
    // lines of the other sections ("Name" would otherwise read [settings] name).
    QString lookup(const QString &key) const;

    LanguageFont font() const;
    // [settings] name: the language's name as its speakers write it.
    QString displayName() const;

private:
    IniFile m_ini;
};
