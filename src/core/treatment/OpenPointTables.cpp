#include "OpenPointTables.h"

#include "common/CaseInsensitivePath.h"
#include "common/TextFile.h"

#include <QFileInfo>

namespace {
void fail(const QString &path, QString *error)
{
    if (error)
        *error = QFileInfo(path).fileName();
}
} // namespace

QString OpenPointTables::Grid::cell(int column, int day) const
{
    if (column < 1 || column > Columns || day < 1 || day > rows.size())
        return QString();
    return rows.at(day - 1).value(column - 1);
}

QStringList OpenPointTables::fieldsOfLine(const QString &line, int width, int count)
{
    QStringList fields;
    fields.reserve(count);
    for (int i = 0; i < count; ++i) {
        const qsizetype start = qsizetype(i) * (width + SeparatorWidth);
        // Editors may drop the padding of the last cell; the missing characters are blanks.
        fields.append(line.mid(start, width).leftJustified(width, QLatin1Char(' ')));
    }
    return fields;
}

QString OpenPointTables::lineOfCells(const QStringList &cells)
{
    QString line;
    for (int i = 0; i < Columns; ++i) {
        if (i > 0)
            line += QStringLiteral("  ");
        line += cells.value(i).leftJustified(CellWidth, QLatin1Char(' '), true);
    }
    return line;
}

bool OpenPointTables::readGrid(const QString &path, int days, Grid *grid, QString *error)
{
    QStringList lines;
    // A table with fewer days than the cycle would list nothing for the missing days.
    if (!TextFile::readLines(path, &lines) || lines.size() < days) {
        fail(path, error);
        return false;
    }
    grid->file = QFileInfo(path).fileName();
    grid->rows.clear();
    for (int day = 0; day < days; ++day)
        grid->rows.append(fieldsOfLine(lines.at(day), CellWidth));
    return true;
}

bool OpenPointTables::readTitles(const QString &path, QStringList *titles, QString *error)
{
    QStringList lines;
    if (!TextFile::readLines(path, &lines) || lines.isEmpty()) {
        fail(path, error);
        return false;
    }
    *titles = fieldsOfLine(lines.first(), TitleWidth);
    return true;
}

bool OpenPointTables::load(const QString &folder, const OpenPointMethod &method, QString *error)
{
    QStringList titles;
    if (!readTitles(CaseInsensitivePath::resolve(folder, titlesFile()), &titles, error))
        return false;
    QList<Grid> grids;
    for (const QString &name : method.tables) {
        Grid grid;
        if (!readGrid(CaseInsensitivePath::resolve(folder, name), method.cycle, &grid, error))
            return false;
        grids.append(grid);
    }
    m_titles = titles;
    m_grids = grids;
    return true;
}

const OpenPointTables::Grid &OpenPointTables::grid(int index) const
{
    static const Grid empty;
    return index >= 0 && index < m_grids.size() ? m_grids.at(index) : empty;
}
