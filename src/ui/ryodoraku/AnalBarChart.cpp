#include "AnalBarChart.h"

#include "ryodoraku/MeridianAnalysis.h"

#include <QHelpEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace {

const QColor PlotBackground(0xfb, 0xfc, 0xfd);
const QColor GroupShade(0xee, 0xf2, 0xf6);
const QColor GridColor(0xe1, 0xe6, 0xeb);
const QColor AxisText(0x50, 0x60, 0x6f);
const QColor OriginColor(0x24, 0x31, 0x3d);

QFont smaller(const QFont &font, double factor) {
    QFont f = font;
    if (f.pointSizeF() > 0)
        f.setPointSizeF(std::max(6.5, f.pointSizeF() * factor));
    else
        f.setPixelSize(std::max(9, int(f.pixelSize() * factor)));
    return f;
}

// A round step for about five grid lines over `span`.
double niceStep(double span) {
    const double raw = span / 5;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double n = raw / magnitude;
    return (n < 1.5 ? 1 : n < 3 ? 2 : n < 7 ? 5 : 10) * magnitude;
}

} // namespace

AnalBarChart::AnalBarChart(QWidget *parent)
    : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void AnalBarChart::setData(const QList<Group> &groups, double origin, const QString &originLabel) {
    m_groups = groups;
    m_origin = origin;
    m_originLabel = originLabel;
    m_notice.clear();
    update();
}

void AnalBarChart::setReferenceLines(const QList<Line> &lines) {
    m_lines = lines;
    update();
}

void AnalBarChart::setTitle(const QString &title) {
    m_title = title;
    update();
}

void AnalBarChart::clear(const QString &notice) {
    m_groups.clear();
    m_origin = 0;
    m_originLabel.clear();
    m_notice = notice;
    update();
}

int AnalBarChart::barCount() const {
    int n = 0;
    for (const Group &g : m_groups)
        n += int(g.bars.size());
    return n;
}

bool AnalBarChart::hasLegend() const {
    if (!m_originLabel.isEmpty())
        return true;
    return std::any_of(m_lines.cbegin(), m_lines.cend(),
                       [](const Line &l) { return !l.label.isEmpty(); });
}

int AnalBarChart::slotOf(int group, int index) const {
    // One empty slot between neighbouring groups keeps them apart.
    int slot = 0;
    for (int g = 0; g < group; ++g)
        slot += int(m_groups.at(g).bars.size()) + 1;
    return slot + index;
}

AnalBarChart::Frame AnalBarChart::frame() const {
    Frame f;
    const QFontMetricsF fm(font());
    const QFontMetricsF small(smaller(font(), 0.9));

    double lo = m_origin, hi = m_origin;
    for (const Group &g : m_groups) {
        for (const Bar &b : g.bars) {
            lo = std::min(lo, b.value);
            hi = std::max(hi, b.value);
        }
    }
    for (const Line &l : m_lines) {
        lo = std::min(lo, l.value);
        hi = std::max(hi, l.value);
    }
    double span = hi - lo;
    if (span < 1e-9)
        span = std::max(1.0, std::abs(hi) * 0.2);
    const double pad = span * 0.12; // room for the value written at a bar's end
    const bool nonNegative = lo >= 0;
    lo -= pad;
    hi += pad;
    if (nonNegative && lo < 0)
        lo = 0;
    f.step = niceStep(hi - lo);
    f.low = std::floor(lo / f.step) * f.step;
    f.high = std::ceil(hi / f.step) * f.step;
    if (f.high - f.low < 1e-9)
        f.high = f.low + f.step;

    double axisWidth = 0;
    for (double v = f.low; v <= f.high + f.step / 2; v += f.step)
        axisWidth = std::max(axisWidth, small.horizontalAdvance(MeridianAnalysis::numberText(
                                            std::round(v * 100) / 100)));
    QFont bold = smaller(font(), 0.9);
    bold.setBold(true);
    const QFontMetricsF badge(bold);
    axisWidth =
        std::max(axisWidth, badge.horizontalAdvance(MeridianAnalysis::numberText(m_origin)) + 8);
    for (const Line &l : m_lines)
        axisWidth =
            std::max(axisWidth, badge.horizontalAdvance(MeridianAnalysis::numberText(l.value)) + 8);

    bool groupTitles = false;
    for (const Group &g : m_groups)
        groupTitles = groupTitles || !g.title.isEmpty();
    double top = 8;
    if (!m_title.isEmpty() || hasLegend())
        top += fm.height() + 4;
    if (groupTitles)
        top += fm.height() + 6;
    const double bottom = fm.height() + small.height() + 10;
    f.plot = QRectF(axisWidth + 14, top, width() - axisWidth - 24, height() - top - bottom);
    const int slotCount =
        m_groups.isEmpty() ? 1 : slotOf(int(m_groups.size()) - 1, int(m_groups.last().bars.size()));
    f.slot = f.plot.width() / std::max(1, slotCount);
    return f;
}

QRectF AnalBarChart::barRect(int group, int index) const {
    if (group < 0 || group >= m_groups.size() || index < 0 ||
        index >= m_groups.at(group).bars.size())
        return {};
    const Frame f = frame();
    const Bar &b = m_groups.at(group).bars.at(index);
    const double x = f.plot.left() + slotOf(group, index) * f.slot;
    const double w = std::max(2.0, f.slot * 0.68);
    const double y1 = f.toY(m_origin);
    const double y2 = f.toY(b.value);
    return QRectF(x + (f.slot - w) / 2, std::min(y1, y2), w, std::abs(y2 - y1));
}

bool AnalBarChart::event(QEvent *event) {
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        for (int g = 0; g < m_groups.size(); ++g) {
            for (int i = 0; i < m_groups.at(g).bars.size(); ++i) {
                QRectF r = barRect(g, i);
                r.setTop(std::min(r.top(), r.bottom() - 6)); // a flat bar can still be pointed at
                if (r.adjusted(-2, -2, 2, 2).contains(help->pos())) {
                    const Bar &b = m_groups.at(g).bars.at(i);
                    const QString name = b.name.isEmpty()
                        ? QString(b.code + QLatin1Char(' ') + b.side).trimmed()
                        : b.name;
                    QToolTip::showText(help->globalPos(),
                                       name + QStringLiteral(": ") +
                                           MeridianAnalysis::numberText(b.value),
                                       this);
                    return true;
                }
            }
        }
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    return QWidget::event(event);
}

void AnalBarChart::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QFont baseFont = font();
    const QFont smallFont = smaller(baseFont, 0.9);
    const QFontMetricsF fm(baseFont);
    const QFontMetricsF sm(smallFont);

    if (!m_title.isEmpty()) {
        QFont bold = baseFont;
        bold.setBold(true);
        p.setFont(bold);
        p.setPen(OriginColor);
        p.drawText(QRectF(0, 6, width(), fm.height()), Qt::AlignHCenter | Qt::AlignVCenter,
                   m_title);
    }
    // The legend of the lines, at the top left.
    {
        QList<Line> entries;
        if (!m_originLabel.isEmpty())
            entries.append({m_origin, m_originLabel, OriginColor});
        for (const Line &l : m_lines)
            if (!l.label.isEmpty())
                entries.append(l);
        double x = 12;
        const double y = 6 + fm.height() / 2;
        p.setFont(smallFont);
        for (int i = 0; i < entries.size(); ++i) {
            const Line &l = entries.at(i);
            p.setPen(QPen(l.color, 2,
                          i == 0 && !m_originLabel.isEmpty() ? Qt::SolidLine : Qt::DashLine));
            p.drawLine(QPointF(x, y), QPointF(x + 20, y));
            x += 26;
            p.setPen(OriginColor);
            const double w = sm.horizontalAdvance(l.label);
            p.drawText(QRectF(x, 6, w + 2, fm.height()), Qt::AlignLeft | Qt::AlignVCenter, l.label);
            x += w + 18;
        }
    }

    const Frame f = frame();
    if (f.plot.width() < 20 || f.plot.height() < 20)
        return;
    p.fillRect(f.plot, PlotBackground);

    // Groups: a shaded band and the title above it.
    for (int g = 0; g < m_groups.size(); ++g) {
        const Group &group = m_groups.at(g);
        if (group.bars.isEmpty())
            continue;
        const double x1 = f.plot.left() + slotOf(g, 0) * f.slot;
        const double x2 = x1 + group.bars.size() * f.slot;
        if (g % 2 == 1)
            p.fillRect(QRectF(x1, f.plot.top(), x2 - x1, f.plot.height()), GroupShade);
        if (!group.title.isEmpty()) {
            QFont bold = baseFont;
            bold.setBold(true);
            p.setFont(bold);
            p.setPen(OriginColor);
            const QRectF titleRect(x1, f.plot.top() - fm.height() - 4, x2 - x1, fm.height());
            p.drawText(titleRect, Qt::AlignCenter,
                       QFontMetrics(bold).elidedText(group.title, Qt::ElideRight, int(x2 - x1)));
        }
    }

    // Grid and value axis; a tick label gives way to a marked line's value.
    QList<double> marked;
    if (barCount() > 0) {
        marked.append(f.toY(m_origin));
        for (const Line &l : m_lines)
            marked.append(f.toY(l.value));
    }
    p.setFont(smallFont);
    for (double v = f.low; v <= f.high + f.step / 2; v += f.step) {
        const double y = std::round(f.toY(v)) + 0.5;
        p.setPen(GridColor);
        p.drawLine(QPointF(f.plot.left(), y), QPointF(f.plot.right(), y));
        const bool hidden = std::any_of(marked.cbegin(), marked.cend(),
                                        [&](double m) { return std::abs(m - y) < sm.height(); });
        if (hidden)
            continue;
        p.setPen(AxisText);
        p.drawText(QRectF(0, y - sm.height() / 2, f.plot.left() - 6, sm.height()),
                   Qt::AlignRight | Qt::AlignVCenter,
                   MeridianAnalysis::numberText(std::round(v * 100) / 100));
    }

    if (m_groups.isEmpty() || barCount() == 0) {
        p.setFont(baseFont);
        p.setPen(AxisText);
        p.drawText(f.plot, Qt::AlignCenter | Qt::TextWordWrap, m_notice);
        p.setPen(QColor(0xb8, 0xc4, 0xcf));
        p.drawRect(f.plot.adjusted(0, 0, -1, -1));
        return;
    }

    // Bars, their values and their labels.
    for (int g = 0; g < m_groups.size(); ++g) {
        const Group &group = m_groups.at(g);
        for (int i = 0; i < group.bars.size(); ++i) {
            const Bar &b = group.bars.at(i);
            const QRectF r = barRect(g, i);
            p.fillRect(r, b.color);
            p.setPen(b.color.darker(135));
            p.drawRect(r.adjusted(0, 0, -1, 0));

            const QRectF slot(r.center().x() - f.slot / 2, 0, f.slot, 0);
            p.setFont(smallFont);
            p.setPen(OriginColor);
            const QString value = MeridianAnalysis::numberText(b.value);
            if (sm.horizontalAdvance(value) <= f.slot + 2) {
                const bool up = b.value >= m_origin;
                const double y = up ? r.top() - sm.height() - 1 : r.bottom() + 1;
                p.drawText(QRectF(slot.left() - 2, y, slot.width() + 4, sm.height()),
                           Qt::AlignCenter, value);
            }
            // Two label lines: the code, bold, over the side word.
            QFont codeFont = baseFont;
            codeFont.setBold(true);
            p.setFont(codeFont);
            const double labelTop = f.plot.bottom() + 4;
            p.drawText(QRectF(slot.left() - 4, labelTop, slot.width() + 8, fm.height()),
                       Qt::AlignCenter,
                       QFontMetrics(codeFont).elidedText(b.code, Qt::ElideRight, int(f.slot + 8)));
            if (!b.side.isEmpty()) {
                p.setFont(smallFont);
                p.setPen(AxisText);
                p.drawText(
                    QRectF(slot.left() - 4, labelTop + fm.height(), slot.width() + 8, sm.height()),
                    Qt::AlignCenter,
                    QFontMetrics(smallFont).elidedText(b.side, Qt::ElideRight, int(f.slot + 8)));
            }
        }
    }

    // The origin and the reference lines over the bars, each value marked on the axis.
    p.setRenderHint(QPainter::Antialiasing, true);
    QFont badgeFont = smallFont;
    badgeFont.setBold(true);
    const auto drawLine = [&](double value, const QColor &color, Qt::PenStyle style) {
        const double y = std::round(f.toY(value)) + 0.5;
        p.setPen(QPen(color, 1.5, style));
        p.drawLine(QPointF(f.plot.left(), y), QPointF(f.plot.right(), y));
        p.setFont(badgeFont);
        const QRectF badge(2, y - sm.height() / 2 - 1, f.plot.left() - 5, sm.height() + 2);
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawRoundedRect(badge, 3, 3);
        p.setPen(Qt::white);
        p.drawText(badge, Qt::AlignCenter, MeridianAnalysis::numberText(value));
        p.setBrush(Qt::NoBrush);
    };
    for (const Line &l : m_lines)
        drawLine(l.value, l.color, Qt::DashLine);
    drawLine(m_origin, OriginColor, Qt::SolidLine);

    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(0xb8, 0xc4, 0xcf));
    p.drawRect(f.plot.adjusted(0, 0, -1, -1));
}
