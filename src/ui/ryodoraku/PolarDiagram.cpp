#include "PolarDiagram.h"

#include "ryodoraku/GraphOrders.h"

#include <QHelpEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
// Design geometry: the diagram's centre and its largest radius, the legend at the top left.
constexpr double kCentreX = 400;
constexpr double kCentreY = 205;
constexpr double kRadius = 160;
const QColor kLeftColor(0x1F, 0x5F, 0xD0);
const QColor kRightColor(0xD8, 0x2A, 0x2A);
const QColor kMeanColor(0x2E, 0x8B, 0x3A);
const QColor kCorridorColor(0x8A, 0x5A, 0x00);

} // namespace

PolarDiagram::PolarDiagram(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("PaintBox1"));
    setMinimumSize(DesignWidth / 2, DesignHeight / 2);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PolarDiagram::setTest(const TestRecord &test, const CorridorEvaluation &corridor)
{
    m_test = test;
    m_corridor = corridor;
    update();
}

void PolarDiagram::clear()
{
    m_test.reset();
    update();
}

void PolarDiagram::setTexts(const QString &left, const QString &right, const QString &mean,
                            const QString &corridor)
{
    m_left = left;
    m_right = right;
    m_mean = mean;
    m_corridorText = corridor;
    update();
}

void PolarDiagram::setTitle(const QString &title)
{
    m_title = title;
    update();
}

double PolarDiagram::scale() const
{
    // One factor for both directions keeps the circles round; the centre follows each axis.
    return qMin(width() / double(DesignWidth), height() / double(DesignHeight));
}

QPointF PolarDiagram::centre() const
{
    return QPointF(kCentreX * width() / DesignWidth, kCentreY * height() / DesignHeight);
}

int PolarDiagram::scaleTop() const
{
    int high = m_corridor.upper();
    if (m_test) {
        for (const int value : m_test->values)
            high = qMax(high, value);
    }
    const int step = high > 150 ? 50 : 20;
    return qMax(step, ((int(high * 1.05) + step - 1) / step) * step);
}

double PolarDiagram::radiusOf(int value) const
{
    return qMax(0, value) * kRadius * scale() / scaleTop();
}

double PolarDiagram::angleOf(int channel) const
{
    const int position = int(GraphOrders::polarMeridians().indexOf(Channels::meridian(channel)));
    return 2 * kPi * position / Channels::MeridianCount;
}

QPointF PolarDiagram::pointOf(int channel) const
{
    if (!m_test)
        return centre();
    const double r = radiusOf(m_test->values[size_t(channel)]);
    const double a = angleOf(channel);
    return centre() + QPointF(r * std::sin(a), -r * std::cos(a));
}

void PolarDiagram::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), QColor(0xFC, 0xFD, 0xFE));
    const double s = scale();
    const QPointF c = centre();
    QFont font = p.font();
    font.setPixelSize(qMax(9, int(12 * s)));
    p.setFont(font);

    if (!m_title.isEmpty()) {
        QFont bold = font;
        bold.setBold(true);
        bold.setPixelSize(qMax(10, int(14 * s)));
        p.setFont(bold);
        p.setPen(QColor(0x24, 0x31, 0x3D));
        p.drawText(QRectF(0, 4 * s, width(), 22 * s), Qt::AlignHCenter | Qt::AlignTop, m_title);
        p.setFont(font);
    }
    if (!m_test)
        return;

    // Scale rings and spokes, faint, under everything else.
    const int top = scaleTop();
    const int ringStep = top / 4;
    p.setPen(QPen(QColor(0xDD, 0xE3, 0xEA), 1));
    p.setBrush(Qt::NoBrush);
    for (int v = ringStep; v <= top; v += ringStep) {
        const double r = radiusOf(v);
        p.drawEllipse(c, r, r);
        p.setPen(QColor(0x9A, 0xA6, 0xB2));
        p.drawText(c + QPointF(3, -r + 11 * s), QString::number(v));
        p.setPen(QPen(QColor(0xDD, 0xE3, 0xEA), 1));
    }
    const QStringList meridians = GraphOrders::polarMeridians();
    for (int i = 0; i < meridians.size(); ++i) {
        const double a = 2 * kPi * i / meridians.size();
        const QPointF dir(std::sin(a), -std::cos(a));
        p.setPen(QPen(QColor(0xDD, 0xE3, 0xEA), 1));
        p.drawLine(c, c + dir * radiusOf(top));
        const QPointF at = c + dir * (radiusOf(top) + 14 * s);
        p.setPen(QColor(0x24, 0x31, 0x3D));
        p.drawText(QRectF(at.x() - 20 * s, at.y() - 9 * s, 40 * s, 18 * s), Qt::AlignCenter,
                   meridians.at(i));
    }

    // The corridor as a band between its two circles, the mean as a circle in it.
    const double inner = radiusOf(m_corridor.lower());
    const double outer = radiusOf(m_corridor.upper());
    QPainterPath band;
    band.addEllipse(c, outer, outer);
    band.addEllipse(c, inner, inner);
    p.fillPath(band, QColor(0x2E, 0x8B, 0x3A, 28));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kCorridorColor, 1.3, Qt::DashLine));
    p.drawEllipse(c, outer, outer);
    p.drawEllipse(c, inner, inner);
    p.setPen(QPen(kMeanColor, 1.8));
    const double meanR = radiusOf(m_corridor.mean);
    p.drawEllipse(c, meanR, meanR);

    // The two sides: closed outlines through their twelve values.
    for (const bool left : {true, false}) {
        QPolygonF outline;
        for (const QString &code : meridians)
            outline.append(pointOf(Channels::indexOf(left ? QLatin1Char('L') : QLatin1Char('R'),
                                                     code)));
        const QColor color = left ? kLeftColor : kRightColor;
        QColor fill = color;
        fill.setAlpha(30);
        p.setBrush(fill);
        p.setPen(QPen(color, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolygon(outline);
        p.setBrush(color);
        p.setPen(Qt::NoPen);
        for (const QPointF &point : std::as_const(outline))
            p.drawEllipse(point, 3 * s, 3 * s);
    }

    // Legend: the shapes LShape and RShape with their labels, then mean and corridor.
    const double lx = 20 * s;
    double ly = 40 * s;
    const double row = 22 * s;
    auto legendText = [&](const QString &text) {
        p.setPen(QColor(0x24, 0x31, 0x3D));
        p.drawText(QPointF(lx + 30 * s, ly + 5 * s), text);
        ly += row;
    };
    for (const bool left : {true, false}) {
        const QColor color = left ? kLeftColor : kRightColor;
        QColor fill = color;
        fill.setAlpha(30);
        p.setBrush(fill);
        p.setPen(QPen(color, 2));
        p.drawRect(QRectF(lx, ly - 6 * s, 22 * s, 12 * s));
        legendText(left ? m_left : m_right);
    }
    p.setPen(QPen(kMeanColor, 2));
    p.drawLine(QPointF(lx, ly), QPointF(lx + 22 * s, ly));
    legendText(QStringLiteral("%1 %2").arg(m_mean).arg(m_corridor.mean));
    p.setPen(QPen(kCorridorColor, 1.3, Qt::DashLine));
    p.drawLine(QPointF(lx, ly), QPointF(lx + 22 * s, ly));
    legendText(QStringLiteral("%1 %2–%3")
                   .arg(m_corridorText)
                   .arg(m_corridor.lower())
                   .arg(m_corridor.upper()));
}

bool PolarDiagram::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip && m_test) {
        const auto *help = static_cast<QHelpEvent *>(event);
        int nearest = -1;
        double best = 10 * 10;
        for (int channel = 0; channel < Channels::Count; ++channel) {
            const QPointF d = pointOf(channel) - QPointF(help->pos());
            const double dist = d.x() * d.x() + d.y() * d.y();
            if (dist < best) {
                best = dist;
                nearest = channel;
            }
        }
        if (nearest < 0) {
            QToolTip::hideText();
            event->ignore();
            return true;
        }
        const int value = m_test->values[size_t(nearest)];
        const int deviation = m_corridor.deviation(value);
        QToolTip::showText(help->globalPos(),
                           QStringLiteral("%1: %2\n%3 %4, %5%6%")
                               .arg(Channels::name(nearest))
                               .arg(value)
                               .arg(m_mean)
                               .arg(m_corridor.mean)
                               .arg(deviation > 0 ? QStringLiteral("+") : QString())
                               .arg(deviation),
                           this);
        return true;
    }
    return QWidget::event(event);
}
