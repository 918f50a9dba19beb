#include "MeasuringOrder.h"

#include "common/IniFile.h"

namespace {
const QString kSection = QStringLiteral("Order");

constexpr const char *kRowCodes[MeasuringOrder::Rows]
    = {"Lu", "Pc", "Ht", "Lv", "Sp", "Ki", "Li", "Th", "Si", "St", "Gb", "Bl"};

// A whole number 1-24 written with digits only (blanks around it allowed); 0 otherwise.
int parseOrder(const QString &text, MeasuringOrder::Problem *problem)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        *problem = MeasuringOrder::Problem::Empty;
        return 0;
    }
    for (const QChar c : trimmed) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            *problem = MeasuringOrder::Problem::NotANumber;
            return 0;
        }
    }
    // More than two digits cannot be in range; checking the length first avoids overflow.
    const int value = trimmed.size() > 3 ? 0 : trimmed.toInt();
    if (value < 1 || value > MeasuringOrder::Points) {
        *problem = MeasuringOrder::Problem::OutOfRange;
        return 0;
    }
    *problem = MeasuringOrder::Problem::None;
    return value;
}
} // namespace

MeasuringOrder MeasuringOrder::load(const IniFile &options)
{
    MeasuringOrder order;
    for (int key = 1; key <= Points; ++key)
        order.m_cells[size_t(key - 1)] = options.readString(kSection, QString::number(key));
    return order;
}

QString MeasuringOrder::rowCode(int row)
{
    if (row < 1 || row > Rows)
        return QString();
    return QLatin1String(kRowCodes[row - 1]);
}

QString MeasuringOrder::channelOf(const Cell &cell)
{
    if (!validCell(cell))
        return QString();
    return (cell.side == Left ? QStringLiteral("L") : QStringLiteral("R"))
           + rowCode(cell.row).toUpper();
}

int MeasuringOrder::keyOf(const Cell &cell)
{
    return indexOf(cell) + 1;
}

int MeasuringOrder::indexOf(const Cell &cell)
{
    return (cell.side == Left ? 0 : Rows) + cell.row - 1;
}

bool MeasuringOrder::validCell(const Cell &cell)
{
    return cell.row >= 1 && cell.row <= Rows && (cell.side == Left || cell.side == Right);
}

QString MeasuringOrder::text(const Cell &cell) const
{
    return validCell(cell) ? m_cells[size_t(indexOf(cell))] : QString();
}

void MeasuringOrder::setText(const Cell &cell, const QString &text)
{
    if (validCell(cell))
        m_cells[size_t(indexOf(cell))] = text;
}

int MeasuringOrder::orderOf(int row, Side side) const
{
    Problem problem;
    return parseOrder(text({row, side}), &problem);
}

std::optional<MeasuringOrder::Cell> MeasuringOrder::cellOf(int pointIndex) const
{
    std::optional<Cell> found;
    if (pointIndex < 1 || pointIndex > Points)
        return found;
    for (int i = 0; i < Points; ++i) {
        const Cell cell{i % Rows + 1, i < Rows ? Left : Right};
        if (orderOf(cell.row, cell.side) != pointIndex)
            continue;
        if (found)
            return std::nullopt; // held twice: no answer rather than a guess
        found = cell;
    }
    return found;
}

MeasuringOrder::Check MeasuringOrder::check() const
{
    // Cells are visited row by row, left then right, as they stand in the grid.
    std::array<bool, Points + 1> seen{};
    for (int row = 1; row <= Rows; ++row) {
        for (const Side side : {Left, Right}) {
            Problem problem;
            const int value = parseOrder(text({row, side}), &problem);
            if (problem != Problem::None)
                return {problem, {row, side}};
            if (seen[size_t(value)])
                return {Problem::Duplicate, {row, side}};
            seen[size_t(value)] = true;
        }
    }
    return {};
}

bool MeasuringOrder::save(IniFile &options) const
{
    if (!isValid())
        return false;
    for (int i = 0; i < Points; ++i) {
        // Written as plain numbers, so " 5" typed in the grid is stored as "5".
        options.writeString(kSection, QString::number(i + 1),
                            QString::number(m_cells[size_t(i)].trimmed().toInt()));
    }
    return true;
}
