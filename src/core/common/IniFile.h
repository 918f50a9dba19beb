#pragma once

#include <QHash>
#include <QString>
#include <QList>
#include <QStringList>
#include <utility>

// A Windows INI file with Windows semantics: section and key names compared without case,
// the first occurrence wins, blanks around names and values trimmed, the caller's default
// when a key or the file is missing, integers read leniently. Writing a key keeps every other
// line, comment and the order. The file is Windows-1251 text (see TextFile).
//
// The object holds the text in memory; changes reach the disk with save(). Nothing keeps the
// file open.
class IniFile
{
public:
    IniFile() = default;
    // Reads `path`; a file spelt in another case is found too. A missing file reads as empty.
    explicit IniFile(const QString &path);
    static IniFile fromText(const QString &text);

    QString path() const { return m_path; }
    bool existed() const { return m_existed; }

    QString readString(const QString &section, const QString &key,
                       const QString &defaultValue = QString()) const;
    // Leading sign and digits are read ("12abc" reads 12); anything else gives the default.
    int readInteger(const QString &section, const QString &key, int defaultValue) const;
    // An integer read as a boolean: non-zero is true.
    bool readBool(const QString &section, const QString &key, bool defaultValue) const;
    bool hasKey(const QString &section, const QString &key) const;
    bool hasSection(const QString &section) const;

    // Section names in file order (first spelling of each), and the keys of the first section
    // of that name in file order.
    QStringList sections() const;
    QStringList keys(const QString &section) const;
    // The key=value lines of the first section of that name, in file order (duplicates too).
    QList<std::pair<QString, QString>> entries(const QString &section) const;

    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    void removeKey(const QString &section, const QString &key);

    QStringList lines() const { return m_lines; }
    bool save(QString *error = nullptr) const;
    bool saveAs(const QString &path, QString *error = nullptr) const;

    // Lenient integer conversion with the rule of readInteger.
    static int toInteger(const QString &text, int defaultValue, bool *ok = nullptr);
    // One line read by the rules above: a key=value line (false for blanks, comments and
    // section headers), and a "[section]" header.
    static bool parseKeyLine(const QString &line, QString *key, QString *value);
    static bool parseSectionHeader(const QString &line, QString *name);

private:
    struct Range
    {
        int header = -1; // line of "[section]"
        int end = -1;    // one past the last line of the section
    };
    Range findSection(const QString &section) const;
    int findKey(const Range &range, const QString &key) const;
    // Where each section begins and ends, by its case-folded name (the first occurrence);
    // rebuilt whenever the lines change, so a lookup never scans the whole file.
    void indexSections();

    QString m_path;
    QStringList m_lines;
    QHash<QString, Range> m_sections;
    bool m_existed = false;
};
