#include "TableFit.h"

#include <QHeaderView>
#include <QStyle>
#include <QTimer>
#include <QTableView>

#include <algorithm>

namespace {

int widestText(const QTableView *table, int column, const QFontMetrics &metrics)
{
    const QAbstractItemModel *model = table->model();
    int widest = 0;
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex index = model->index(row, column);
        const QVariant font = index.data(Qt::FontRole);
        const QFontMetrics cell = font.isValid() ? QFontMetrics(font.value<QFont>()) : metrics;
        widest = std::max(widest, cell.horizontalAdvance(index.data(Qt::DisplayRole).toString()));
    }
    return widest;
}

void fit(QTableView *table, int column)
{
    QAbstractItemModel *model = table->model();
    if (!model)
        return;
    const QFontMetrics metrics(table->font());
    int widest = widestText(table, column, metrics);
    const QFontMetrics headerMetrics(table->horizontalHeader()->font());
    widest = std::max(widest, headerMetrics.horizontalAdvance(
                                  model->headerData(column, Qt::Horizontal).toString()));
    // Columns sized to their contents may not have been laid out yet: ask what they need.
    QHeaderView *header = table->horizontalHeader();
    const int margin = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    int others = 0;
    for (int c = 0; c < model->columnCount(); ++c) {
        if (c == column || table->isColumnHidden(c))
            continue;
        // Once laid out, a column's width is known; before, its text tells.
        if (header->sectionResizeMode(c) == QHeaderView::ResizeToContents && !table->isVisible())
            others += std::max(widestText(table, c, metrics) + 8,
                               headerMetrics.horizontalAdvance(
                                   model->headerData(c, Qt::Horizontal).toString()) + margin);
        else
            others += header->sectionSize(c);
    }
    const int frame = 2 * table->frameWidth()
                      + (table->verticalHeader()->isVisible() ? table->verticalHeader()->width() : 0);
    table->setMinimumWidth(others + widest + 12 + frame);
}

} // namespace

namespace TableFit {

void keepColumnReadable(QTableView *table, int column)
{
    fit(table, column);
    // Again once the columns sized to their contents have been laid out.
    QTimer::singleShot(0, table, [table, column] { fit(table, column); });
}

} // namespace TableFit
