#include "ColorSwatch.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

ColorSwatch::ColorSwatch(const QString &objectName, int tag, QWidget *parent)
    : QWidget(parent)
    , m_tag(tag)
{
    setObjectName(objectName);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setMinimumSize(22, 18);
}

void ColorSwatch::setColor(const QColor &color)
{
    m_color = color;
    update();
}

void ColorSwatch::setSelected(bool selected)
{
    m_selected = selected;
    update();
}

void ColorSwatch::setPlaying(bool playing)
{
    m_playing = playing;
    if (!playing)
        m_shown = true;
    update();
}

void ColorSwatch::setShown(bool shown)
{
    m_shown = shown;
    update();
}

void ColorSwatch::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(2.5, 2.5, -2.5, -2.5);
    painter.setBrush(m_shown ? m_color : palette().color(QPalette::Window));
    QPen pen(QColor(0x8a, 0x96, 0xa3), 1);
    if (m_selected)
        pen = QPen(QColor(0x1f, 0x2d, 0x3a), 2);
    if (m_playing)
        pen = QPen(QColor(0x00, 0xff, 0x00), 3); // 0xFF00 in the Windows notation
    const bool empty = m_blackEmpty && m_color.rgb() == QColor(Qt::black).rgb();
    if (empty && m_shown)
        painter.setBrush(QColor(0xfa, 0xfb, 0xfc));
    painter.setPen(pen);
    painter.drawRoundedRect(box, 4, 4);
    if (empty) {
        painter.setPen(QPen(QColor(0xb4, 0xbe, 0xc8), 1));
        painter.drawLine(box.bottomLeft() + QPointF(3, -3), box.topRight() + QPointF(-3, 3));
    }
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    }
}

void ColorSwatch::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        setFocus(Qt::MouseFocusReason);
        Q_EMIT chosen(this);
    }
}

void ColorSwatch::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Q_EMIT chosen(this);
        return;
    }
    QWidget::keyPressEvent(event);
}
