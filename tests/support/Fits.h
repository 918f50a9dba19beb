#pragma once

#include <QAbstractButton>
#include <QLabel>
#include <QWidget>

// What keeps a page from fitting `room`: the page needs more room, or a visible button (with
// `labels`, a label too) is squeezed below the size it asks for. Empty when everything fits.
inline QString squeezed(QWidget *page, const QSize &room, bool labels = false)
{
    const QSize needed = page->minimumSizeHint();
    if (needed.width() > room.width() || needed.height() > room.height())
        return QStringLiteral("the page needs %1x%2").arg(needed.width()).arg(needed.height());
    for (QWidget *w : page->findChildren<QWidget *>()) {
        const bool checked =
            qobject_cast<QAbstractButton *>(w) || (labels && qobject_cast<QLabel *>(w));
        if (checked && w->isVisible() && w->width() < w->sizeHint().width())
            return w->objectName() + QStringLiteral(" is squeezed");
    }
    return QString();
}
