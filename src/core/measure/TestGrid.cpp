#include "measure/TestGrid.h"

#include "measure/ReadingCurve.h"

#include <algorithm>

namespace {

constexpr int kColumns[4] = {1, 2, 4, 5};

// Catalogue entries by row (1-6) and by column 1, 2, 4, 5.
constexpr int kCatalogue[6][4] = {
    {94, 34, 61, 1},   {97, 37, 69, 9},   {102, 42, 74, 14},
    {20, 80, 106, 46}, {113, 53, 87, 27}, {120, 60, 83, 23},
};

int columnSlot(int col) {
    for (int i = 0; i < 4; ++i) {
        if (kColumns[i] == col)
            return i;
    }
    return -1;
}

bool allDigits(const QString &text) {
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

// Digits only with a value 1-200; a long run of digits cannot be in range.
bool inRange(const QString &digits) {
    if (!allDigits(digits) || digits.size() > 6)
        return false;
    const int value = digits.toInt();
    return value > 0 && value <= ReadingCurve::MaxValue;
}

} // namespace

bool TestGrid::isMeasuringCell(const GridCell &cell) {
    return columnSlot(cell.col) >= 0 && cell.row >= 1 && cell.row <= 6;
}

const QList<GridCell> &TestGrid::cells() {
    static const QList<GridCell> list = [] {
        QList<GridCell> built;
        for (const int col : kColumns) {
            for (int row = 1; row <= 6; ++row)
                built.append({col, row});
        }
        return built;
    }();
    return list;
}

QString TestGrid::channelOf(const GridCell &cell) {
    if (!isMeasuringCell(cell))
        return QString();
    return MeasuringOrder::channelOf(orderCellOf(cell));
}

int TestGrid::catalogueIndexOf(const GridCell &cell) {
    if (!isMeasuringCell(cell))
        return 0;
    return kCatalogue[cell.row - 1][columnSlot(cell.col)];
}

MeasuringOrder::Cell TestGrid::orderCellOf(const GridCell &cell) {
    const bool yang = cell.col >= 4;
    const bool left = cell.col == 1 || cell.col == 4;
    return {cell.row + (yang ? 6 : 0), left ? MeasuringOrder::Left : MeasuringOrder::Right};
}

GridCell TestGrid::gridCellOf(const MeasuringOrder::Cell &cell) {
    const bool yang = cell.row > 6;
    const bool left = cell.side == MeasuringOrder::Left;
    return {yang ? (left ? 4 : 5) : (left ? 1 : 2), yang ? cell.row - 6 : cell.row};
}

GridCell TestGrid::nextInReadingPattern(const GridCell &cell) {
    switch (cell.col) {
    case 1:
        return {2, cell.row};
    case 2:
        return cell.row >= 6 ? GridCell{4, 1} : GridCell{1, cell.row + 1};
    case 4:
        return {5, cell.row};
    case 5:
        return cell.row >= 6 ? GridCell{1, 1} : GridCell{4, cell.row + 1};
    default:
        return {1, 1};
    }
}

bool TestGrid::acceptsText(const QString &text) {
    return text.isEmpty() || inRange(text);
}

bool TestGrid::isValidValue(const QString &text) {
    return inRange(text.trimmed());
}

bool TestGrid::holdsValue(const QString &text) {
    return !text.isEmpty() && text != QLatin1String("0");
}

int TestGrid::indexOf(const GridCell &cell) {
    return columnSlot(cell.col) * 6 + cell.row - 1;
}

int TestGrid::orderOf(const GridCell &cell) const {
    if (!isMeasuringCell(cell))
        return 0;
    const MeasuringOrder::Cell order = orderCellOf(cell);
    return m_order.orderOf(order.row, order.side);
}

std::optional<GridCell> TestGrid::cellOf(int pointIndex) const {
    const auto found = m_order.cellOf(pointIndex);
    if (!found)
        return std::nullopt;
    return gridCellOf(*found);
}

QString TestGrid::text(const GridCell &cell) const {
    return isMeasuringCell(cell) ? m_texts[size_t(indexOf(cell))] : QString();
}

void TestGrid::setText(const GridCell &cell, const QString &text) {
    if (isMeasuringCell(cell))
        m_texts[size_t(indexOf(cell))] = text;
}

void TestGrid::clear() {
    m_texts.fill(QString());
}

std::optional<GridCell> TestGrid::firstInvalidCell() const {
    for (const GridCell &cell : cells()) {
        if (!isValidValue(text(cell)))
            return cell;
    }
    return std::nullopt;
}

TestRecord TestGrid::toRecord() const {
    TestRecord record;
    for (const GridCell &cell : cells()) {
        const int index = Channels::indexOf(channelOf(cell));
        const QString value = text(cell).trimmed();
        if (index >= 0)
            record.values[size_t(index)] = isValidValue(value) ? value.toInt() : 0;
    }
    return record;
}

int TestGrid::filledCount() const
{
    return int(std::count_if(m_texts.begin(), m_texts.end(), [](const QString &t) { return holdsValue(t); }));
}
