#include "WindowPlacement.h"

#include <QScreen>
#include <QWidget>

namespace {

// Shrinks `window` to the screen's free area when it is larger; returns the frame's size.
QSize fitted(QWidget *window, const QRect &area)
{
    // A window never sized by hand takes its natural size when first shown: take it now, so
    // the place is worked out for the size it will have.
    if (!window->isVisible() && !window->testAttribute(Qt::WA_Resized))
        window->adjustSize();
    // Until a window has been shown its frame is not known: room for a usual title bar.
    QSize frameSize = window->frameGeometry().size();
    if (!window->isVisible() || frameSize == window->size())
        frameSize = window->size() + QSize(16, 40);
    const QSize decoration = frameSize - window->size();
    const QSize room = (area.size() - decoration).expandedTo(window->minimumSize());
    if (window->width() > room.width() || window->height() > room.height()) {
        window->resize(window->size().boundedTo(room));
        frameSize = window->size() + decoration;
    }
    return frameSize;
}

void moveInside(QWidget *window, QRect frame, const QRect &area)
{
    frame.moveLeft(qBound(area.left(), frame.left(), qMax(area.left(), area.right() - frame.width())));
    frame.moveTop(qBound(area.top(), frame.top(), qMax(area.top(), area.bottom() - frame.height())));
    window->move(frame.topLeft());
}

} // namespace

void WindowPlacement::keepOnScreen(QWidget *window)
{
    const QScreen *screen = window->screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize frameSize = fitted(window, area);
    moveInside(window, QRect(window->pos(), frameSize), area);
}

void WindowPlacement::centreOver(QWidget *window, const QWidget *over)
{
    const QScreen *screen = over ? over->screen() : window->screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    QRect frame(QPoint(), fitted(window, area));
    frame.moveCenter(over ? over->frameGeometry().center() : area.center());
    moveInside(window, frame, area);
}
