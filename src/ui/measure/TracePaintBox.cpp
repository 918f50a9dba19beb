#include "measure/TracePaintBox.h"

#include <QPainter>

#include <cmath>

namespace {
constexpr QPoint kOrigin(17, 155);
}

TracePaintBox::TracePaintBox(QWidget *parent)
    : QWidget(parent)
    , m_background(makeBackground()) {
    setObjectName(QStringLiteral("PaintBoxL_D1"));
    setFixedSize(Width, Height);
    reset();
}

QPixmap TracePaintBox::makeBackground() {
    QPixmap image(Width, Height);
    image.fill(Qt::white);
    QPainter p(&image);
    QFont font = p.font();
    font.setPixelSize(9);
    p.setFont(font);
    // The value scale 0-200 in steps of 50, where the trace puts those values.
    for (int value = 0; value <= 200; value += 50) {
        const int y = int(std::trunc(155 - 0.77 * value));
        p.setPen(QPen(QColor(value == 0 ? 0x8090a0 : 0xd8e0e8), 1));
        p.drawLine(kOrigin.x(), y, Width - 4, y);
        p.setPen(QColor(0x60707f));
        // Labels sit above their line at the right end, clear of the trace's start.
        p.drawText(QRect(Width - 40, qMax(0, y - 12), 36, 12), Qt::AlignRight | Qt::AlignBottom,
                   QString::number(value));
    }
    p.setPen(QPen(QColor(0x8090a0), 1));
    p.drawLine(kOrigin.x(), 0, kOrigin.x(), kOrigin.y());
    p.setPen(QColor(0xb9c4cf));
    p.drawRect(0, 0, Width - 1, Height - 1);
    return image;
}

void TracePaintBox::reset() {
    m_canvas = m_background;
    m_pen = kOrigin;
    update();
}

void TracePaintBox::lineTo(int sampleCount, int value) {
    const QPoint to(18 * sampleCount, int(std::trunc(155 - 0.77 * value)));
    QPainter p(&m_canvas);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::red, 2));
    p.drawLine(m_pen, to);
    m_pen = to;
    update();
}

void TracePaintBox::paintEvent(QPaintEvent *) {
    QPainter(this).drawPixmap(0, 0, m_canvas);
}
