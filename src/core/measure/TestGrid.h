#pragma once

#include "app/MeasuringOrder.h"
#include "records/TestRecord.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>

// A cell of the entry grid `DotsGrid1` (6 columns x 7 rows; row 0 and column 0 are headings,
// column 3 separates the yin block, columns 1-2, from the yang block, columns 4-5).
struct GridCell {
    int col = 0;
    int row = 0;
    bool operator==(const GridCell &) const = default;
};

// The 24 measured cells of the entry grid: their channels, their places in the measuring
// order, their catalogue entries and the values typed or measured into them.
class TestGrid {
public:
    static constexpr int Columns = 6;
    static constexpr int Rows = 7;
    static constexpr int SeparatorColumn = 3;
    static constexpr int Cells = 24;

    // Columns 1, 2, 4, 5 and rows 1-6.
    static bool isMeasuringCell(const GridCell &cell);
    // The 24 cells in the order the completeness check visits them: column 1, 2, 4, 5, each
    // row 1-6.
    static const QList<GridCell> &cells();
    // "LLU" for (1, 1) ... "RBL" for (5, 6); empty for any other cell.
    static QString channelOf(const GridCell &cell);
    // The point catalogue entry (Dots.INI section) that describes the cell's point; 0 for a
    // cell that is not measured.
    static int catalogueIndexOf(const GridCell &cell);
    // The order cell of a grid cell and back: columns 1 and 4 are the left side, 2 and 5 the
    // right; rows of columns 4-5 are meridian rows 7-12.
    static MeasuringOrder::Cell orderCellOf(const GridCell &cell);
    static GridCell gridCellOf(const MeasuringOrder::Cell &cell);
    // The next cell in the reading pattern: left to right along a row, row by row through one
    // block, then on to the other block.
    static GridCell nextInReadingPattern(const GridCell &cell);

    // Text a cell may hold while being typed: empty, or digits with a value 1-200.
    static bool acceptsText(const QString &text);
    // A measured value the test can store: trimmed digits with a value 1-200.
    static bool isValidValue(const QString &text);
    // The cell already holds a measurement: neither empty nor "0".
    static bool holdsValue(const QString &text);

    void setOrder(const MeasuringOrder &order) { m_order = order; }
    const MeasuringOrder &order() const { return m_order; }
    // The cell's position in the measuring sequence, 1-24; 0 when the order does not say.
    int orderOf(const GridCell &cell) const;
    // The cell measured at `pointIndex`; none when the order does not hold it exactly once.
    std::optional<GridCell> cellOf(int pointIndex) const;

    QString text(const GridCell &cell) const;
    void setText(const GridCell &cell, const QString &text);
    void clear();

    // How many of the 24 cells hold a value.
    int filledCount() const;
    // The first cell the test cannot store, in the check's order; none when all 24 are valid.
    std::optional<GridCell> firstInvalidCell() const;
    // The 24 values by channel; cells that are not valid give 0.
    TestRecord toRecord() const;

private:
    static int indexOf(const GridCell &cell);

    MeasuringOrder m_order;
    std::array<QString, Cells> m_texts;
};
