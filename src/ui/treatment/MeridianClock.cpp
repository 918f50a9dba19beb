#include "MeridianClock.h"

#include "treatment/OpenPointCalendar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <cmath>

namespace {
using C = OpenPointCalendar;

// A point of the clock at `radius` and a clockwise angle from 12 o'clock.
QPointF onClock(double angle, double radius)
{
    const double a = qDegreesToRadians(angle);
    return {C::ClockCentreX + radius * std::sin(a), C::ClockCentreY - radius * std::cos(a)};
}
} // namespace

MeridianClock::MeridianClock(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Image5"));
    setFixedSize(C::ClockWidth, C::ClockHeight);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

QSize MeridianClock::sizeHint() const
{
    return {C::ClockWidth, C::ClockHeight};
}

void MeridianClock::setPeriod(int period)
{
    if (period == m_period)
        return;
    m_period = period;
    update();
}

void MeridianClock::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(C::ClockCentreX, C::ClockCentreY);
    const QRectF circle(centre.x() - C::ClockRadius, centre.y() - C::ClockRadius,
                        2.0 * C::ClockRadius, 2.0 * C::ClockRadius);

    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(circle);
    if (m_period >= 0) {
        // 0xB9FFFF in the 0xBBGGRR notation: a pale yellow.
        const double middle = C::sectorMiddle(m_period);
        QPainterPath sector(centre);
        // Qt counts angles counter-clockwise from 3 o'clock.
        sector.arcTo(circle, 90.0 - (middle - 15.0), -30.0);
        sector.closeSubpath();
        painter.setBrush(QColor(0xFF, 0xFF, 0xB9));
        painter.drawPath(sector);
    }

    painter.setPen(QPen(QColor(0x8a, 0x9b, 0xac), 1));
    for (int k = 0; k < C::Periods; ++k)
        painter.drawLine(centre, onClock(15.0 + 30.0 * k, C::ClockRadius));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(hasFocus() ? QColor(0x2f, 0x6f, 0xb0) : QColor(0x55, 0x66, 0x77), 2));
    painter.drawEllipse(circle);
    painter.setBrush(QColor(0x55, 0x66, 0x77));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(centre, 2.5, 2.5);
}

void MeridianClock::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    Q_EMIT pressedAt(event->position().toPoint());
}

void MeridianClock::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Down:
        Q_EMIT stepRequested(1);
        return;
    case Qt::Key_Left:
    case Qt::Key_Up:
        Q_EMIT stepRequested(-1);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void MeridianClock::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void MeridianClock::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}
