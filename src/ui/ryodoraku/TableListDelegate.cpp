#include "TableListDelegate.h"

#include "ryodoraku/TableCatalogue.h"

#include <QFontMetrics>
#include <QListView>
#include <QPainter>
#include <QTextLayout>
#include <QtMath>

namespace {
const QColor SelectedColor(0xd3, 0xe6, 0xf5);
const QColor HoverColor(0xec, 0xf3, 0xf9);
const QColor AccentColor(0x2f, 0x5d, 0x83);
} // namespace

TableListDelegate::TableListDelegate(QListView *view)
    : QStyledItemDelegate(view)
    , m_view(view)
{
}

int TableListDelegate::textWidth() const
{
    return qMax(40, m_view->viewport()->width() - 2 * Margin);
}

int TableListDelegate::layOut(QTextLayout &layout, const QString &text, const QFont &font, int width)
{
    // The hanging indent: every line after the first starts where the name starts, after
    // the blanks and the number ("  12. ").
    const int dot = text.indexOf(QStringLiteral(". "));
    const int indent = dot < 0 ? 0 : QFontMetrics(font).horizontalAdvance(text.left(dot + 2));
    const int rest = qMax(20, width - indent);

    layout.setText(text);
    layout.setFont(font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    qreal y = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        const bool first = line.lineNumber() == 0;
        line.setLineWidth(first ? width : rest);
        line.setPosition(QPointF(first ? 0 : indent, y));
        y += line.height();
    }
    layout.endLayout();
    return qCeil(y);
}

QSize TableListDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QString text = index.data(Qt::DisplayRole).toString();
    if (TableCatalogue::isSeparator(text))
        return QSize(textWidth(), SeparatorHeight);
    QTextLayout layout;
    const int height = layOut(layout, text, option.font, textWidth());
    return QSize(textWidth(), height + 2 * Margin);
}

void TableListDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const
{
    const QString text = index.data(Qt::DisplayRole).toString();
    painter->save();
    if (TableCatalogue::isSeparator(text)) {
        const int y = option.rect.center().y();
        painter->setPen(QPen(option.palette.color(QPalette::Mid), 1));
        painter->drawLine(option.rect.left() + Margin, y, option.rect.right() - Margin, y);
        painter->restore();
        return;
    }

    // The chosen table stays marked whether or not the list has the focus: it is the one on show.
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const bool hovered = option.state.testFlag(QStyle::State_MouseOver);
    if (selected || hovered) {
        const QRect band = option.rect.adjusted(1, 1, -1, -1);
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(selected ? SelectedColor : HoverColor);
        painter->drawRoundedRect(band, 4, 4);
        if (selected) {
            painter->setBrush(AccentColor);
            painter->drawRoundedRect(QRect(band.left(), band.top(), 4, band.height()), 2, 2);
        }
    }
    painter->setPen(option.palette.color(QPalette::Text));
    QTextLayout layout;
    layOut(layout, text, option.font, option.rect.width() - 2 * Margin);
    layout.draw(painter, QPointF(option.rect.left() + Margin, option.rect.top() + Margin));
    painter->restore();
}
