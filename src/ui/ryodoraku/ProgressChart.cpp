#include "ProgressChart.h"

#include "common/DateTexts.h"
#include "TestGraphs.h"

#include <QHelpEvent>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace {

constexpr int FigureRows = 4;
const QColor g_high(0xE0, 0x20, 0x20);
const QColor g_low(0x20, 0x40, 0xE0);
const QColor g_normal(0x00, 0x80, 0x00);
const QColor g_text(0x24, 0x31, 0x3D);
const QColor g_grid(0xE3, 0xE8, 0xEE);
const QColor g_lineColours[FigureRows] = {QColor(0xC0, 0x39, 0x2B), QColor(0x1F, 0x77, 0xB4),
                                          QColor(0x8E, 0x44, 0xAD), QColor(0x30, 0x30, 0x30)};

QString number(double value)
{
    return QLocale().toString(value, 'f', 1);
}

// A cell of the strip: the class's colour, paler the closer the value lies to the mean.
QColor cellColour(ConductionClass cls, int deviation)
{
    const QColor base = cls == ConductionClass::High  ? g_high
                        : cls == ConductionClass::Low ? g_low
                                                      : g_normal;
    const double strength = cls == ConductionClass::Normal
                                ? 0.25
                                : 0.45 + 0.55 * std::min(1.0, std::abs(deviation) / 60.0);
    return QColor::fromRgbF(1 - (1 - base.redF()) * strength, 1 - (1 - base.greenF()) * strength,
                            1 - (1 - base.blueF()) * strength);
}

} // namespace

ProgressChart::Words ProgressChart::appliedWords()
{
    Words words;
    words.title = TestGraphs::word(QStringLiteral("ProgressTitle"),
                                   QStringLiteral("Progress over the tests"));
    words.outside = TestGraphs::word(QStringLiteral("ProgressOutside"), words.outside);
    words.spread = TestGraphs::word(QStringLiteral("ProgressSpread"), words.spread);
    words.sides = TestGraphs::word(QStringLiteral("ProgressSides"), words.sides);
    words.mean = TestGraphs::word(QStringLiteral("ProgressMean"), words.mean);
    words.empty = TestGraphs::word(QStringLiteral("ProgressNoTests"),
                                   QStringLiteral("The client has no tests in this period."));
    words.treatment = TestGraphs::word(QStringLiteral("ProgressTreatment"), words.treatment);
    return words;
}

ProgressChart::ProgressChart(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("ProgressChart"));
    setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0xFC, 0xFD, 0xFE));
    setPalette(palette);
}

void ProgressChart::setWords(const Words &words)
{
    m_words = words;
    update();
}

void ProgressChart::setFigures(const QList<ProgressFigures> &figures)
{
    m_figures = figures;
    update();
}

void ProgressChart::setTreatments(const QHash<int, QStringList> &treatments)
{
    m_treatments = treatments;
    update();
}

ProgressChart::Layout ProgressChart::layout() const
{
    Layout l;
    const QFontMetricsF metrics(font());
    l.labelWidth = std::max(metrics.horizontalAdvance(QStringLiteral("RLU  ")),
                            metrics.horizontalAdvance(QStringLiteral("00.0  ")));
    const qreal top = metrics.height() * 2.2;
    const qreal bottom = height() - metrics.height() * 2.2;
    const qreal left = 12 + l.labelWidth;
    const qreal right = width() - 16;
    const qreal available = std::max<qreal>(0, bottom - top);
    // Each figure gets its name and a small plot; the channel strip takes the rest.
    const qreal lineHeight = std::min(available * 0.42 / FigureRows, metrics.height() * 3.6);
    for (int row = 0; row < FigureRows; ++row)
        l.lines[row] = QRectF(left, top + row * lineHeight, right - left, lineHeight - 6);
    l.strip = QRectF(left, top + FigureRows * lineHeight + 8, right - left,
                     available - FigureRows * lineHeight - 8);
    return l;
}

qreal ProgressChart::columnX(int test, const QRectF &area) const
{
    const int n = int(m_figures.size());
    return area.left() + area.width() * (test + 0.5) / std::max(1, n);
}

int ProgressChart::columnAt(qreal x, const QRectF &area) const
{
    if (m_figures.isEmpty() || x < area.left() || x >= area.right())
        return -1;
    return std::clamp(int((x - area.left()) * m_figures.size() / area.width()), 0,
                      int(m_figures.size()) - 1);
}

double ProgressChart::valueOf(const ProgressFigures &f, int row) const
{
    switch (row) {
    case 0:
        return f.outside;
    case 1:
        return f.meanDeviation;
    case 2:
        return f.sideDifference;
    default:
        return f.mean;
    }
}

QString ProgressChart::rowName(int row) const
{
    const QString names[FigureRows] = {m_words.outside, m_words.spread, m_words.sides,
                                       m_words.mean};
    return names[row];
}

void ProgressChart::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(g_text);
    QFont bold = font();
    bold.setBold(true);
    p.setFont(bold);
    const QFontMetricsF metrics(font());
    p.drawText(QRectF(0, 4, width(), metrics.height() * 1.6), Qt::AlignCenter, m_words.title);
    p.setFont(font());
    if (m_figures.isEmpty()) {
        p.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, m_words.empty);
        return;
    }
    const Layout l = layout();
    for (int row = 0; row < FigureRows; ++row)
        paintFigure(p, row, l.lines[row]);
    paintStrip(p, l.strip);
    paintDates(p, l.strip);
    paintTreatments(p, l.strip);
}

void ProgressChart::paintTreatments(QPainter &p, const QRectF &strip) const
{
    // A small green triangle just above the strip for each test a treatment was recorded with.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2E, 0x7D, 0x32));
    for (int i = 0; i < m_figures.size(); ++i) {
        if (!m_treatments.contains(m_figures.at(i).codeTest))
            continue;
        const qreal x = columnX(i, strip);
        p.drawPolygon(QPolygonF({QPointF(x - 5, strip.top() - 8), QPointF(x + 5, strip.top() - 8),
                                 QPointF(x, strip.top() - 1)}));
    }
}

void ProgressChart::paintFigure(QPainter &p, int row, const QRectF &area) const
{
    double low = valueOf(m_figures.first(), row), high = low;
    for (const ProgressFigures &f : m_figures) {
        low = std::min(low, valueOf(f, row));
        high = std::max(high, valueOf(f, row));
    }
    // Counts and percentages start at 0, so a small change is not drawn as a large one.
    if (row < 3)
        low = 0;
    if (high <= low)
        high = low + 1;
    p.setPen(g_grid);
    p.drawLine(area.bottomLeft(), area.bottomRight());
    p.setPen(g_text);
    const QFontMetricsF metrics(font());
    p.drawText(QRectF(area.left() + 4, area.top(), area.width() - 8, metrics.height()),
               Qt::AlignLeft | Qt::AlignTop, rowName(row));
    p.drawText(QRectF(0, area.top(), area.left() - 6, metrics.height()), Qt::AlignRight,
               row == 0 || row == 3 ? QString::number(qRound(high)) : number(high));

    const qreal plotTop = area.top() + metrics.height() + 5;
    const qreal plotHeight = std::max<qreal>(1, area.bottom() - plotTop);
    QPainterPath path;
    QList<QPointF> points;
    for (int i = 0; i < m_figures.size(); ++i) {
        const double value = valueOf(m_figures.at(i), row);
        const QPointF point(columnX(i, area),
                            area.bottom() - (value - low) / (high - low) * plotHeight);
        i ? path.lineTo(point) : path.moveTo(point);
        points.append(point);
    }
    p.setPen(QPen(g_lineColours[row], 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setBrush(g_lineColours[row]);
    for (const QPointF &point : std::as_const(points))
        p.drawEllipse(point, 2.6, 2.6);
}

void ProgressChart::paintStrip(QPainter &p, const QRectF &area) const
{
    const qreal rowHeight = area.height() / Channels::Count;
    const qreal columnWidth = area.width() / m_figures.size();
    // The channel names in a font that fits the rows, as long as it stays legible.
    QFont small = font();
    small.setPixelSize(std::max(1, int(rowHeight * 0.9)));
    const bool names = small.pixelSize() >= 8;
    p.setFont(small);
    for (int channel = 0; channel < Channels::Count; ++channel) {
        const qreal y = area.top() + channel * rowHeight;
        if (names) {
            p.setPen(g_text);
            p.drawText(QRectF(0, y, area.left() - 6, rowHeight), Qt::AlignRight | Qt::AlignVCenter,
                       Channels::name(channel));
        }
        for (int i = 0; i < m_figures.size(); ++i) {
            const ProgressFigures &f = m_figures.at(i);
            p.fillRect(QRectF(area.left() + i * columnWidth, y, columnWidth, rowHeight)
                           .adjusted(0.5, 0.5, -0.5, -0.5),
                       cellColour(f.classes[size_t(channel)], f.deviation[size_t(channel)]));
        }
    }
    p.setFont(font());
    // The sides apart: the left channels above, the right ones below.
    p.setPen(QPen(g_text, 1.2));
    const qreal middle = area.top() + Channels::MeridianCount * rowHeight;
    p.drawLine(QPointF(area.left(), middle), QPointF(area.right(), middle));
}

void ProgressChart::paintDates(QPainter &p, const QRectF &area) const
{
    const QFontMetricsF metrics(font());
    qreal lastRight = -1e9;
    p.setPen(g_text);
    for (int i = 0; i < m_figures.size(); ++i) {
        const QString text = DateTexts::date(m_figures.at(i).when.date());
        const qreal w = metrics.horizontalAdvance(text);
        const qreal x = columnX(i, area) - w / 2;
        // Dates that would run into each other are left to the hover details.
        if (x < lastRight + 8 || x + w > width())
            continue;
        p.drawText(QPointF(std::max<qreal>(0, x), area.bottom() + metrics.ascent() + 4), text);
        lastRight = x + w;
    }
}

QString ProgressChart::detailsAt(const QPoint &pos) const
{
    const Layout l = layout();
    const int test = columnAt(pos.x(), l.strip);
    if (test < 0 || pos.y() < l.lines[0].top() || pos.y() > l.strip.bottom())
        return QString();
    const ProgressFigures &f = m_figures.at(test);
    QStringList lines;
    lines.append(DateTexts::dateTime(f.when));
    if (l.strip.contains(pos)) {
        const int channel =
            std::clamp(int((pos.y() - l.strip.top()) * Channels::Count / l.strip.height()), 0,
                       Channels::Count - 1);
        const int deviation = f.deviation[size_t(channel)];
        lines.append(
            QStringLiteral("%1: %2%3 %")
                .arg(Channels::name(channel), deviation > 0 ? QStringLiteral("+") : QString())
                .arg(deviation));
    }
    lines.append(QStringLiteral("%1: %2").arg(m_words.outside).arg(f.outside));
    lines.append(QStringLiteral("%1: %2").arg(m_words.spread, number(f.meanDeviation)));
    lines.append(QStringLiteral("%1: %2").arg(m_words.sides, number(f.sideDifference)));
    lines.append(QStringLiteral("%1: %2").arg(m_words.mean).arg(f.mean));
    const QStringList treatments = m_treatments.value(f.codeTest);
    if (!treatments.isEmpty())
        lines.append(
            QStringLiteral("%1: %2").arg(m_words.treatment, treatments.join(QStringLiteral(", "))));
    return lines.join(QLatin1Char('\n'));
}

bool ProgressChart::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const QString details = detailsAt(help->pos());
        if (details.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), details, this);
        return true;
    }
    return QWidget::event(event);
}
