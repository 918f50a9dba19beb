#pragma once

#include "OpenPointMethod.h"

#include <QList>
#include <QString>
#include <QStringList>

// The fixed-width time tables of the open points. A table line is one cycle day and holds 12
// cells for the columns H = 1..12; a cell is 6 characters followed by 2 separator characters
// (the line end after the twelfth). Data/TimeInt.dat holds the 12 column titles, 11 characters
// each followed by 2 separators. Cells keep their padding; "nonono" means no point.
class OpenPointTables
{
public:
    static constexpr int Columns = 12;
    static constexpr int CellWidth = 6;
    static constexpr int TitleWidth = 11;
    static constexpr int SeparatorWidth = 2;

    // One table: rows[day - 1][H - 1].
    struct Grid
    {
        QString file;
        QList<QStringList> rows;
        // The cell at column H (1..12) of cycle day `day` (1..); empty outside the table.
        QString cell(int column, int day) const;
    };

    // Reads the column titles and every table of `method` from `folder` (the data folder's
    // Data/, names matched without regard to case). A file that is missing, unreadable or
    // shorter than the cycle fails the whole load: nothing is kept and `error` is its name.
    bool load(const QString &folder, const OpenPointMethod &method, QString *error = nullptr);

    const QStringList &columnTitles() const { return m_titles; }
    int gridCount() const { return int(m_grids.size()); }
    // Grid 0 = A .. 3 = D; an empty grid when the method has fewer.
    const Grid &grid(int index) const;

    // The fields of one line, each `width` characters apart by width + 2; a short line reads as
    // blanks.
    static QStringList fieldsOfLine(const QString &line, int width, int count = Columns);
    // The line of a table day (cells padded or cut to 6 characters, two spaces between).
    static QString lineOfCells(const QStringList &cells);
    static bool readGrid(const QString &path, int days, Grid *grid, QString *error = nullptr);
    static bool readTitles(const QString &path, QStringList *titles, QString *error = nullptr);

    static QString titlesFile() { return QStringLiteral("TimeInt.dat"); }

private:
    QStringList m_titles;
    QList<Grid> m_grids;
};
