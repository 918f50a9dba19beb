#include "MarkShape.h"

#include "treatment/BodyMarkGeometry.h"

#include <QPainter>

#include <algorithm>

MarkShape::MarkShape(Kind kind, const QString &objectName, QWidget *parent)
    : QWidget(parent)
    , m_kind(kind)
    , m_color(kind == Kind::Ring ? QColor(220, 0, 0) : QColor(Qt::black))
{
    setObjectName(objectName);
    const int size = kind == Kind::Ring ? BodyMarkGeometry::RingSize : BodyMarkGeometry::DotSize;
    setFixedSize(size, size);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void MarkShape::setColor(const QColor &color)
{
    m_color = color;
    update();
}

void MarkShape::setPenWidth(int width)
{
    m_penWidth = width;
    update();
}

void MarkShape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_kind == Kind::Dot) {
        // A thin dark rim keeps a pale dot visible on the skin colour.
        painter.setPen(QPen(m_color.darker(160), 1));
        painter.setBrush(m_color);
        painter.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
        return;
    }
    // A pen 0 wide still draws a hairline; the ring stays inside its square.
    const double w = std::max(1, m_penWidth);
    painter.setPen(QPen(m_color, w));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QRectF(rect()).adjusted(w / 2, w / 2, -w / 2, -w / 2));
}
