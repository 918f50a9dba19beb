#pragma once

#include <QString>

#include <array>
#include <optional>

class IniFile;

// The measuring order of the 24 points: twelve meridian rows (Lu, Pc, Ht, Lv, Sp, Ki, Li, Th,
// Si, St, Gb, Bl), each with an order cell for the left and one for the right side. A cell
// holds the position of its point in the measuring sequence, 1-24. Options.ini keeps them in
// [Order], keys 1-12 for the left side and 13-24 for the right.
//
// Cells hold the text as typed, so a wrong entry can be shown and refused as it stands; the
// order is usable only when every cell holds its own whole number 1-24.
class MeasuringOrder
{
public:
    static constexpr int Rows = 12;
    static constexpr int Points = 24;

    enum Side { Left = 0, Right = 1 };
    // A meridian row (1-12) and a side.
    struct Cell
    {
        int row = 0;
        Side side = Left;
        bool operator==(const Cell &) const = default;
    };
    enum class Problem { None, Empty, NotANumber, OutOfRange, Duplicate };
    struct Check
    {
        Problem problem = Problem::None;
        Cell cell; // the first cell found wrong
        bool ok() const { return problem == Problem::None; }
    };

    // All cells empty.
    MeasuringOrder() = default;
    static MeasuringOrder load(const IniFile &options);

    // The meridian code of a row as the settings grid shows it ("Lu" ... "Bl"); empty for a row
    // outside 1-12.
    static QString rowCode(int row);
    // The channel name of a cell, the side letter and the code in capitals ("LLU", "RBL").
    static QString channelOf(const Cell &cell);
    // The [Order] key of a cell: the row for the left side, row + 12 for the right.
    static int keyOf(const Cell &cell);

    QString text(const Cell &cell) const;
    void setText(const Cell &cell, const QString &text);

    // The order number of a cell, 1-24; 0 when the cell holds no whole number in that range.
    int orderOf(int row, Side side) const;
    // The cell measured at position `pointIndex` (1-24), if exactly one cell holds it.
    std::optional<Cell> cellOf(int pointIndex) const;

    // Every cell filled with a whole number 1-24, no number twice.
    Check check() const;
    bool isValid() const { return check().ok(); }

    // Writes the 24 cells to [Order] when the order passes the check; otherwise writes nothing
    // and returns false.
    bool save(IniFile &options) const;

private:
    static int indexOf(const Cell &cell);
    static bool validCell(const Cell &cell);
    std::array<QString, Points> m_cells;
};
