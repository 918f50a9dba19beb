#include "OpenPointMarker.h"

#include <QPainter>

OpenPointMarker::OpenPointMarker(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("my_shape"));
    setFixedSize(Size, Size);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void OpenPointMarker::centreOn(const QPoint &point)
{
    move(point - QPoint(Size / 2, Size / 2));
}

void OpenPointMarker::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::white, 2.5));
    painter.setBrush(QColor(0xd0, 0x10, 0x10));
    painter.drawEllipse(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5));
}
