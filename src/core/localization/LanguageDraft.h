#pragma once

#include <QList>
#include <QString>

#include <optional>
#include <utility>

// A language file being edited: one row per interface text with its English text beside it.
// Made from an existing language file or from the English texts alone, written back as a
// language file of its own (Windows-1251, [settings] name, [Font] and [language]).
class LanguageDraft
{
public:
    struct Row {
        QString key;
        QString englishText;
        QString text; // the text in the language being edited
    };

    // Every key the program knows, then keys only the English file or the language file has.
    static LanguageDraft load(const QString &languageName);
    // A new language: every text starts as its English text.
    static LanguageDraft fromEnglish();

    QString languageName() const { return m_name; }
    int charset() const { return m_charset; }
    const QList<Row> &rows() const { return m_rows; }
    void setText(int row, const QString &text);
    bool isChanged() const { return m_changed; }

    // The next row after `from` whose key or texts contain `needle` (letter case aside),
    // starting again at the top after the last row; -1 when no row does.
    int findNext(const QString &needle, int from) const;

    // Writes languages/<name>.lang. Refuses, with a message and nothing written, a name that
    // cannot name a file there and a text that Windows-1251 cannot hold (the message names
    // its key).
    bool saveAs(const QString &name, int charset, QString *error = nullptr);

    // The Windows character sets offered for a language, by name and number.
    static const QList<std::pair<QString, int>> &charsets();
    // A character set typed or chosen: a name of charsets() or a whole number 0..255.
    static std::optional<int> parseCharset(const QString &text);

private:
    QString m_name;
    int m_charset = 1;
    QList<Row> m_rows;
    bool m_changed = false;
};
