#include "PointLabel.h"

#include <QKeyEvent>
#include <QMouseEvent>

PointLabel::PointLabel(const QString &code, QWidget *parent)
    : QLabel(code, parent)
    , m_code(code)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_TranslucentBackground);
}

void PointLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked(m_code);
    QLabel::mouseReleaseEvent(event);
}

void PointLabel::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter
        || event->key() == Qt::Key_Space) {
        Q_EMIT clicked(m_code);
        return;
    }
    QLabel::keyPressEvent(event);
}
