#pragma once

#include <QList>
#include <QString>

// One reference table: its number in the full listing (kept when the list is searched or
// reordered), its base name (the file name up to its last "."), the full title and the file.
struct TableEntry
{
    int number = 0;
    QString baseName;
    QString title;
    QString path;
};

// The reference tables of one language: the HTML files of Tables/<language>/ beside the
// executable, titled from Tables/<language>/FullNames/Names.INI ([Names] base name = title).
// A language without its own title file reads the English tables. No widgets: the page
// shows what this class lists.
class TableCatalogue
{
public:
    static QString englishName() { return QStringLiteral("English"); }
    // <install folder>/Tables.
    static QString defaultRoot();

    // The language whose tables are read: `language` when its title file exists, else English.
    static QString tableLanguage(const QString &root, const QString &language);
    static TableCatalogue load(const QString &language, const QString &root = defaultRoot());

    QString language() const { return m_language; }
    // The language folder; empty when it does not exist.
    QString folder() const { return m_folder; }
    // Every table, numbered from 1, in file-name order.
    const QList<TableEntry> &tables() const { return m_tables; }
    // The tables whose base name contains `text` (case ignored, taken literally),
    // renumbered from 1 among the hits; a blank text gives every table.
    QList<TableEntry> search(const QString &text) const;

    // The list texts: "  <number>. <base name>" and the separator line drawn between tables.
    static QString itemText(const TableEntry &entry);
    static QString separatorText();
    static bool isSeparator(const QString &item);

    // Moves the table at `row` one place up or down in `order`; returns its new row, or `row`
    // itself when it cannot move (the first up, the last down, or no such row).
    static int moveUp(QList<TableEntry> &order, int row);
    static int moveDown(QList<TableEntry> &order, int row);

private:
    QString m_language;
    QString m_folder;
    QList<TableEntry> m_tables;
};
