#pragma once

#include "localization/LanguageApplier.h"
#include "localization/LanguageDefaults.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTableView>
#include <QToolButton>
#include <QTreeView>

#include <algorithm>

// What a reader of a window would stumble on: a caption, button, tab, column header or list
// cell whose text does not fit the space it was given, a window that is partly off the screen,
// and a language key shown where a sentence belongs. Each finding names the window, the
// control and its text.
namespace ReadableCheck {

inline int widestLine(const QFontMetrics &metrics, const QString &text)
{
    int widest = 0;
    for (const QString &line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

inline int lineCount(const QString &text)
{
    return int(text.count(QLatin1Char('\n'))) + 1;
}

inline QString describe(const QString &where, const QWidget *w, const QString &what,
                        const QString &text)
{
    QString name = w->objectName();
    if (name.isEmpty())
        name = QString::fromLatin1(w->metaObject()->className());
    return where + QStringLiteral(": ") + name + QStringLiteral(" ") + what + QStringLiteral(" \"")
           + QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')) + QLatin1Char('"');
}

// A text that is a language key and not the sentence the key stands for.
inline bool isRawKey(const QString &text)
{
    static const QSet<QString> keys = [] {
        QSet<QString> set;
        for (const QString &key : LanguageDefaults::allKeys())
            set.insert(key);
        return set;
    }();
    const QString t = text.trimmed();
    if (t.isEmpty() || t.contains(QLatin1Char(' ')) || !keys.contains(t))
        return false;
    // A plain word ("Sound") may be a key and a caption alike; a key shows itself by a
    // capital, a digit or an underscore inside it ("TestFinished", "Message2").
    bool keyLike = false;
    for (qsizetype i = 1; i < t.size(); ++i)
        keyLike = keyLike || t.at(i).isUpper() || t.at(i).isDigit() || t.at(i) == QLatin1Char('_');
    if (!keyLike)
        return false;
    return LanguageApplier::instance().text(t) != t;
}

// Whether the widget and every parent up to its window are shown.
inline bool shown(const QWidget *w)
{
    return w->isVisible() && w->width() > 0 && w->height() > 0;
}

inline void checkLabel(const QString &where, QLabel *label, QStringList *found)
{
    const QString text = label->text();
    if (text.isEmpty() || !label->pixmap().isNull())
        return;
    if (isRawKey(text))
        found->append(describe(where, label, QStringLiteral("shows a language key"), text));
    if (Qt::mightBeRichText(text) && label->textFormat() != Qt::PlainText)
        return;
    const QRect room = label->contentsRect().adjusted(label->margin(), label->margin(),
                                                      -label->margin(), -label->margin());
    const QFontMetrics metrics(label->font());
    if (label->wordWrap()) {
        // A wrapped caption is cut when a whole line of it finds no room.
        if (label->heightForWidth(label->width()) > label->height() + metrics.height() / 2)
            found->append(describe(where, label, QStringLiteral("is cut at its foot"), text));
        return;
    }
    if (widestLine(metrics, text) > room.width() + 1)
        found->append(describe(where, label, QStringLiteral("is too narrow for"), text));
    else if (lineCount(text) * metrics.height() > room.height() + 3)
        found->append(describe(where, label, QStringLiteral("is too low for"), text));
}

inline void checkButton(const QString &where, QAbstractButton *button, QStringList *found)
{
    const QString text = button->text();
    if (text.isEmpty())
        return;
    if (isRawKey(QString(text).remove(QLatin1Char('&'))))
        found->append(describe(where, button, QStringLiteral("shows a language key"), text));
    const QFontMetrics metrics(button->font());
    const int textWidth = widestLine(metrics, QString(text).remove(QLatin1Char('&')));
    int needed = 0;
    int neededHeight = 0;
    if (auto *tool = qobject_cast<QToolButton *>(button)) {
        const bool under = tool->toolButtonStyle() == Qt::ToolButtonTextUnderIcon;
        const bool beside = tool->toolButtonStyle() == Qt::ToolButtonTextBesideIcon;
        if (tool->toolButtonStyle() == Qt::ToolButtonIconOnly)
            return;
        needed = textWidth + 4 + (beside ? tool->iconSize().width() + 4 : 0);
        neededHeight = lineCount(text) * metrics.lineSpacing()
                       + (under ? tool->iconSize().height() + 2 : 0);
    } else if (qobject_cast<QCheckBox *>(button) || qobject_cast<QRadioButton *>(button)) {
        needed = button->sizeHint().width();
        neededHeight = lineCount(text) * metrics.height();
    } else {
        // The style's own room around the text (a style sheet's padding included), less the
        // least width some styles give every text button.
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = text;
        option.icon = button->icon();
        option.iconSize = button->iconSize();
        const int iconRoom = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
        const QSize contents(textWidth + iconRoom, metrics.height());
        const int styled =
            button->style()->sizeFromContents(QStyle::CT_PushButton, &option, contents, button).width();
        needed = std::min(styled, textWidth + iconRoom + 12);
        neededHeight = lineCount(text) * metrics.height();
    }
    if (needed > button->width() + 1)
        found->append(describe(where, button, QStringLiteral("is too narrow for"), text));
    else if (neededHeight > button->height() + 1)
        found->append(describe(where, button, QStringLiteral("is too low for"), text));
}

inline void checkTabs(const QString &where, QTabBar *bar, QStringList *found)
{
    const QFontMetrics metrics(bar->font());
    for (int i = 0; i < bar->count(); ++i) {
        if (!bar->isTabVisible(i))
            continue;
        const QString text = bar->tabText(i);
        if (isRawKey(text))
            found->append(describe(where, bar, QStringLiteral("tab shows a language key"), text));
        const QRect rect = bar->tabRect(i);
        if (widestLine(metrics, QString(text).remove(QLatin1Char('&'))) + 8 > rect.width())
            found->append(describe(where, bar, QStringLiteral("tab is too narrow for"), text));
        else if (!bar->rect().contains(rect.adjusted(1, 1, -1, -1)))
            found->append(describe(where, bar, QStringLiteral("tab is off the bar:"), text));
    }
}

inline void checkHeader(const QString &where, QHeaderView *header, QStringList *found)
{
    if (header->orientation() != Qt::Horizontal || !header->model())
        return;
    QFont font = header->font();
    const QFontMetrics metrics(font);
    const int margin = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    for (int i = 0; i < header->count(); ++i) {
        if (header->isSectionHidden(i) || header->sectionSize(i) <= 0)
            continue;
        const QString text = header->model()->headerData(i, Qt::Horizontal).toString();
        if (text.isEmpty())
            continue;
        if (isRawKey(text))
            found->append(describe(where, header, QStringLiteral("column shows a language key"), text));
        const int x = header->sectionViewportPosition(i);
        if (x >= header->viewport()->width())
            continue; // scrolled out of sight, not cut
        if (widestLine(metrics, text) + margin > header->sectionSize(i) + 1)
            found->append(describe(where, header, QStringLiteral("column is too narrow for"), text));
        else if (lineCount(text) * metrics.height() > header->height())
            found->append(describe(where, header, QStringLiteral("is too low for"), text));
    }
}

// The cells in sight of a table or tree: a text cut by its column.
inline void checkCells(const QString &where, QAbstractItemView *view, QStringList *found)
{
    QAbstractItemModel *model = view->model();
    if (!model || (!qobject_cast<QTableView *>(view) && !qobject_cast<QTreeView *>(view)))
        return;
    const QFontMetrics metrics(view->font());
    const int rows = std::min(model->rowCount(), 60);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < model->columnCount(); ++column) {
            const QModelIndex index = model->index(row, column);
            const QRect rect = view->visualRect(index);
            if (rect.isEmpty() || !view->viewport()->rect().intersects(rect))
                continue;
            const QString text = index.data(Qt::DisplayRole).toString();
            if (text.isEmpty() || text.contains(QLatin1Char('\n')))
                continue;
            const QVariant fontData = index.data(Qt::FontRole);
            const QFontMetrics cellMetrics(fontData.isValid() ? fontData.value<QFont>()
                                                              : view->font());
            int room = rect.width() - 4;
            if (!index.data(Qt::DecorationRole).isNull())
                room -= view->iconSize().isValid() ? view->iconSize().width() + 4 : 20;
            if (index.data(Qt::CheckStateRole).isValid())
                room -= 20;
            if (cellMetrics.horizontalAdvance(text) > room)
                found->append(describe(where, view,
                                       QStringLiteral("cell (%1,%2) is too narrow for")
                                           .arg(row)
                                           .arg(column),
                                       text));
        }
    }
}

// A table made to show all its rows without scrolling that has lost some of them.
inline void checkRowsInSight(const QString &where, QAbstractItemView *view, QStringList *found)
{
    auto *table = qobject_cast<QTableView *>(view);
    if (!table || !table->model() || table->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff)
        return;
    const int rows = table->model()->rowCount();
    if (rows == 0)
        return;
    const QRect last = table->visualRect(table->model()->index(rows - 1, 0));
    if (last.bottom() > table->viewport()->height() + 1 || !table->isVisible())
        found->append(describe(where, table, QStringLiteral("hides rows of its"),
                               QString::number(rows)));
    // A widget of the window painted over it hides rows as surely.
    const QRect onWindow(table->mapTo(table->window(), QPoint(0, 0)), table->size());
    for (QWidget *sibling : table->parentWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (sibling == table || !sibling->isVisible() || sibling->isWindow())
            continue;
        const QRect other(sibling->mapTo(table->window(), QPoint(0, 0)), sibling->size());
        if (other.intersects(onWindow.adjusted(1, 1, -1, -1)))
            found->append(describe(where, table, QStringLiteral("is covered by"), sibling->objectName()));
    }
}

inline void checkCombo(const QString &where, QComboBox *box, QStringList *found)
{
    if (box->isEditable())
        return;
    const QString text = box->currentText();
    if (text.isEmpty())
        return;
    if (isRawKey(text))
        found->append(describe(where, box, QStringLiteral("shows a language key"), text));
    const QFontMetrics metrics(box->font());
    const int arrow = box->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, box);
    if (metrics.horizontalAdvance(text) + arrow + 8 > box->width() + 1)
        found->append(describe(where, box, QStringLiteral("is too narrow for"), text));
}

inline void checkGroup(const QString &where, QGroupBox *group, QStringList *found)
{
    const QString title = group->title();
    if (title.isEmpty())
        return;
    if (isRawKey(title))
        found->append(describe(where, group, QStringLiteral("shows a language key"), title));
    const QFontMetrics metrics(group->font());
    if (metrics.horizontalAdvance(title) + 16 > group->width())
        found->append(describe(where, group, QStringLiteral("is too narrow for its title"), title));
}

// Every finding in `window` as it is shown now.
inline QStringList findings(QWidget *window, const QString &where)
{
    QStringList found;
    if (const QScreen *screen = window->screen()) {
        // The window's own area; its frame belongs to the window manager.
        const QRect area = screen->availableGeometry();
        if (!area.contains(window->geometry()))
            found.append(where + QStringLiteral(": the window is partly off the screen"));
    }
    if (isRawKey(window->windowTitle()))
        found.append(describe(where, window, QStringLiteral("title is a language key"),
                              window->windowTitle()));
    const QList<QWidget *> widgets = window->findChildren<QWidget *>();
    for (QWidget *w : widgets) {
        if (!shown(w) || w->window() != window)
            continue;
        if (auto *label = qobject_cast<QLabel *>(w))
            checkLabel(where, label, &found);
        else if (auto *button = qobject_cast<QAbstractButton *>(w))
            checkButton(where, button, &found);
        else if (auto *bar = qobject_cast<QTabBar *>(w))
            checkTabs(where, bar, &found);
        else if (auto *header = qobject_cast<QHeaderView *>(w))
            checkHeader(where, header, &found);
        else if (auto *combo = qobject_cast<QComboBox *>(w))
            checkCombo(where, combo, &found);
        else if (auto *group = qobject_cast<QGroupBox *>(w))
            checkGroup(where, group, &found);
        if (auto *view = qobject_cast<QAbstractItemView *>(w)) {
            checkCells(where, view, &found);
            checkRowsInSight(where, view, &found);
        }
    }
    found.removeDuplicates();
    return found;
}

} // namespace ReadableCheck
