#pragma once

#include <QStyledItemDelegate>

class QListView;
class QTextLayout;

// Draws the items of the reference table list: a table's text word-wrapped to the list's
// width, continuation lines starting under the name rather than under the number, and a
// separator item as a thin horizontal line. An item is as high as its lines need.
class TableListDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit TableListDelegate(QListView *view);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    static constexpr int SeparatorHeight = 7;
    static constexpr int Margin = 5;

private:
    // Lays `text` out in `width` pixels; returns the height the lines take.
    static int layOut(QTextLayout &layout, const QString &text, const QFont &font, int width);
    int textWidth() const;

    QListView *m_view;
};
