#include "WindowPlacement.h"

#include <QScreen>
#include <QWidget>

void WindowPlacement::centreOver(QWidget *window, const QWidget *over)
{
    const QScreen *screen = over ? over->screen() : window->screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // A window never sized by hand takes its natural size when first shown: take it now, so
    // the place is worked out for the size it will have.
    if (!window->isVisible() && !window->testAttribute(Qt::WA_Resized))
        window->adjustSize();
    // Until a window has been shown its frame is not known: room for a usual title bar.
    QSize frameSize = window->frameGeometry().size();
    if (!window->isVisible() || frameSize == window->size())
        frameSize = window->size() + QSize(16, 40);
    // A window larger than the screen (a small one, or a large scale) is made to fit it.
    const QSize decoration = frameSize - window->size();
    const QSize room = (area.size() - decoration).expandedTo(window->minimumSize());
    if (window->width() > room.width() || window->height() > room.height()) {
        window->resize(window->size().boundedTo(room));
        frameSize = window->size() + decoration;
    }
    QRect frame(QPoint(), frameSize);
    frame.moveCenter(over ? over->frameGeometry().center() : area.center());
    frame.moveLeft(qBound(area.left(), frame.left(), qMax(area.left(), area.right() - frame.width())));
    frame.moveTop(qBound(area.top(), frame.top(), qMax(area.top(), area.bottom() - frame.height())));
    window->move(frame.topLeft());
}
