#include "CircadianChart.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

constexpr double Centre = 200;
constexpr double Pi = 3.14159265358979323846;

const QColor Face(0x22, 0x30, 0x3c);
const QColor DialText(0x50, 0x60, 0x6f);

// The clock runs clockwise from midnight at the top, 15 degrees an hour; Qt counts degrees
// counter-clockwise from three o'clock.
double qtAngleOfHour(double hour) {
    return 90.0 - 15.0 * hour;
}

QPointF onDial(double hour, double radius) {
    const double a = qtAngleOfHour(hour) * Pi / 180.0;
    return {Centre + radius * std::cos(a), Centre - radius * std::sin(a)};
}

QColor sectorColor(qint64 value, double mean) {
    if (value > mean * 1.1)
        return QColor(232, 93, 74, 225);
    if (value < mean * 0.9)
        return QColor(74, 144, 226, 225);
    return QColor(88, 190, 120, 225);
}

} // namespace

CircadianChart::CircadianChart(QWidget *parent)
    : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void CircadianChart::setAnalysis(const MeridianAnalysis &analysis) {
    m_sectors = analysis.circadianSectors;
    m_circles = analysis.circadianCircles;
    m_mean = analysis.mean;
    update();
}

void CircadianChart::setNotice(const QString &notice) {
    m_notice = notice;
    update();
}

QImage CircadianChart::render(int size) const {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    paintFace(p, QRectF(0, 0, size, size));
    return image;
}

void CircadianChart::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const double side = std::min(width(), height()) - 8;
    if (side < 40)
        return;
    paintFace(p, QRectF((width() - side) / 2, (height() - side) / 2, side, side));
}

void CircadianChart::paintFace(QPainter &p, const QRectF &target) const {
    // The face is laid out on 400 x 400 around (200, 200); a sector longer than that widens
    // the view so that nothing is cut off.
    double reach = 0;
    for (const auto &s : m_sectors)
        reach = std::max(reach, double(s.radius));
    for (const auto &c : m_circles)
        reach = std::max(reach, c.radius);
    const double dial = std::max(170.0, reach + 26);
    const double extent = dial + 28;

    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.translate(target.center());
    p.scale(target.width() / (2 * extent), target.height() / (2 * extent));
    p.translate(-Centre, -Centre);

    QFont font = p.font();
    font.setPixelSize(13);
    QFont bold = font;
    bold.setBold(true);

    // Dial and hours.
    p.setPen(Qt::NoPen);
    p.setBrush(Face);
    p.drawEllipse(QPointF(Centre, Centre), dial, dial);
    p.setFont(font);
    for (int hour = 0; hour < 24; ++hour) {
        const bool boundary = hour % 2 == 1; // the periods run from odd hour to odd hour
        p.setPen(QPen(QColor(255, 255, 255, boundary ? 110 : 40), boundary ? 1.2 : 1));
        p.drawLine(onDial(hour, boundary ? 0 : dial - 8), onDial(hour, dial));
        if (boundary) {
            const QPointF at = onDial(hour, dial + 14);
            p.setPen(DialText);
            p.drawText(QRectF(at.x() - 16, at.y() - 9, 32, 18), Qt::AlignCenter,
                       QString::number(hour));
        }
    }

    if (m_sectors.isEmpty()) {
        p.setPen(QColor(255, 255, 255, 200));
        p.setFont(bold);
        p.drawText(QRectF(Centre - dial * 0.7, Centre - 40, dial * 1.4, 80),
                   Qt::AlignCenter | Qt::TextWordWrap, m_notice);
        p.restore();
        return;
    }

    for (const auto &s : m_sectors) {
        const QRectF box(QPointF(s.x1, s.y1), QPointF(s.x2, s.y2));
        p.setPen(QPen(QColor(255, 255, 255, 160), 1));
        p.setBrush(sectorColor(s.value, m_mean));
        p.drawPie(box, int(qtAngleOfHour(s.startHour + 2) * 16), 30 * 16);
    }
    // The mean and its band, over the sectors.
    for (const auto &c : m_circles) {
        p.setPen(QPen(c.pen, 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(QPointF(c.x1, c.y1), QPointF(c.x2, c.y2)));
    }
    // Labels beyond each sector's tip, kept inside the dial.
    for (const auto &s : m_sectors) {
        const double r = std::clamp(double(s.radius) + 20, 46.0, dial - 22);
        const QPointF at = onDial(s.startHour + 1, r);
        const QRectF box(at.x() - 26, at.y() - 16, 52, 32);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x22, 0x30, 0x3c, 170));
        p.drawRoundedRect(box.adjusted(6, 1, -6, -1), 5, 5);
        p.setPen(Qt::white);
        p.setFont(bold);
        p.drawText(QRectF(box.left(), box.top(), box.width(), 16), Qt::AlignCenter, s.code);
        p.setFont(font);
        p.drawText(QRectF(box.left(), box.top() + 15, box.width(), 16), Qt::AlignCenter,
                   QString::number(s.value));
    }
    p.restore();
}
