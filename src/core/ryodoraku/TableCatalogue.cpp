#include "TableCatalogue.h"

#include "app/AppPaths.h"
#include "common/CaseInsensitivePath.h"
#include "common/IniFile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

const QString kTitleFolder = QStringLiteral("FullNames");
const QString kTitleFile = QStringLiteral("Names.INI");
const QString kTitleSection = QStringLiteral("Names");

// A language name comes from Options.ini; it may only name a folder directly below Tables.
bool isFolderName(const QString &name)
{
    return !name.trimmed().isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
           && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

QString languageFolder(const QString &root, const QString &language)
{
    if (!isFolderName(language))
        return QString();
    const QString folder = CaseInsensitivePath::resolve(root, language);
    return QFileInfo(folder).isDir() ? folder : QString();
}

QString titleFile(const QString &folder)
{
    const QString titles = CaseInsensitivePath::resolve(folder, kTitleFolder);
    return CaseInsensitivePath::resolve(titles, kTitleFile);
}

bool isTableFile(const QFileInfo &info)
{
    // Only pages are tables: a stray text or picture file would open as an error page.
    const QString suffix = info.suffix();
    return suffix.compare(QLatin1String("htm"), Qt::CaseInsensitive) == 0
           || suffix.compare(QLatin1String("html"), Qt::CaseInsensitive) == 0;
}

// Compares names the way people read them: runs of digits by their value, the rest without
// regard to case. The same on every system, whatever its locale.
int naturalCompare(const QString &a, const QString &b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (a.at(i).isDigit() && b.at(j).isDigit()) {
            qsizetype endA = i;
            qsizetype endB = j;
            while (endA < a.size() && a.at(endA).isDigit())
                ++endA;
            while (endB < b.size() && b.at(endB).isDigit())
                ++endB;
            // Leading zeros aside, the longer run is the larger number.
            QStringView runA = QStringView(a).mid(i, endA - i);
            QStringView runB = QStringView(b).mid(j, endB - j);
            while (runA.size() > 1 && runA.front() == QLatin1Char('0'))
                runA = runA.mid(1);
            while (runB.size() > 1 && runB.front() == QLatin1Char('0'))
                runB = runB.mid(1);
            if (runA.size() != runB.size())
                return runA.size() < runB.size() ? -1 : 1;
            if (const int order = runA.compare(runB); order != 0)
                return order;
            i = endA;
            j = endB;
            continue;
        }
        const int order = QStringView(a).mid(i, 1).compare(QStringView(b).mid(j, 1), Qt::CaseInsensitive);
        if (order != 0)
            return order;
        ++i;
        ++j;
    }
    if (i < a.size())
        return 1;
    return j < b.size() ? -1 : 0;
}

} // namespace

QString TableCatalogue::defaultRoot()
{
    return AppPaths::installFile(QStringLiteral("Tables"));
}

QString TableCatalogue::tableLanguage(const QString &root, const QString &language)
{
    const QString folder = languageFolder(root, language);
    if (!folder.isEmpty() && QFileInfo(titleFile(folder)).isFile())
        return language;
    return englishName();
}

TableCatalogue TableCatalogue::load(const QString &language, const QString &root)
{
    TableCatalogue catalogue;
    catalogue.m_language = tableLanguage(root, language);
    catalogue.m_folder = languageFolder(root, catalogue.m_language);
    if (catalogue.m_folder.isEmpty())
        return catalogue;

    const IniFile titles(titleFile(catalogue.m_folder));
    QFileInfoList files = QDir(catalogue.m_folder).entryInfoList(QDir::Files | QDir::NoDotAndDotDot);
    files.erase(std::remove_if(files.begin(), files.end(),
                               [](const QFileInfo &info) { return !isTableFile(info); }),
                files.end());
    // The file system gives no dependable order; "Table 2" comes before "Table 10".
    std::sort(files.begin(), files.end(), [](const QFileInfo &a, const QFileInfo &b) {
        const int order = naturalCompare(a.fileName(), b.fileName());
        return order != 0 ? order < 0 : a.fileName() < b.fileName();
    });

    for (const QFileInfo &info : std::as_const(files)) {
        TableEntry entry;
        entry.number = int(catalogue.m_tables.size()) + 1;
        entry.baseName = info.completeBaseName();
        entry.title = titles.readString(kTitleSection, entry.baseName).trimmed();
        if (entry.title.isEmpty())
            entry.title = entry.baseName;
        entry.path = info.absoluteFilePath();
        catalogue.m_tables.append(entry);
    }
    return catalogue;
}

QList<TableEntry> TableCatalogue::search(const QString &text) const
{
    const QString wanted = text.trimmed();
    if (wanted.isEmpty())
        return m_tables;
    QList<TableEntry> hits;
    for (const TableEntry &entry : m_tables) {
        if (entry.baseName.contains(wanted, Qt::CaseInsensitive)) {
            TableEntry hit = entry;
            hit.number = int(hits.size()) + 1;
            hits.append(hit);
        }
    }
    return hits;
}

QString TableCatalogue::itemText(const TableEntry &entry)
{
    return QStringLiteral("  ") + QString::number(entry.number) + QStringLiteral(". ") + entry.baseName;
}

QString TableCatalogue::separatorText()
{
    return QString(42, QLatin1Char('-'));
}

bool TableCatalogue::isSeparator(const QString &item)
{
    return item.startsWith(QLatin1Char('-'));
}

int TableCatalogue::moveUp(QList<TableEntry> &order, int row)
{
    if (row < 1 || row >= order.size())
        return row;
    order.swapItemsAt(row, row - 1);
    return row - 1;
}

int TableCatalogue::moveDown(QList<TableEntry> &order, int row)
{
    if (row < 0 || row >= order.size() - 1)
        return row;
    order.swapItemsAt(row, row + 1);
    return row + 1;
}
