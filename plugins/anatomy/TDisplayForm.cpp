#include "TDisplayForm.h"

#include <QPainter>
#include <QPainterPath>
#include <QStringList>
#include <QVariantMap>

namespace {

// The statistics lines arrive in the program's channel order.
const char *const ChannelNames[24] = {"LLU", "LPC", "LHT", "LSI", "LTH", "LLI", "LSP", "LLV",
                                      "LKI", "LBL", "LGB", "LST", "RLU", "RPC", "RHT", "RSI",
                                      "RTH", "RLI", "RSP", "RLV", "RKI", "RBL", "RGB", "RST"};

// Body map in a 300 x 540 frame, front view: the patient's left on the viewer's right.
// A shape's label is its caption key when it has one, else a meridian code shown as it stands.
struct Shape {
    int region;
    enum Kind { Ellipse, Rect } kind;
    QRectF rect;
    const char *label;
    const char *captionKey = nullptr;
};
const Shape Shapes[] = {
    // Head, arms and legs first: the organs are drawn over the trunk.
    {10, Shape::Ellipse, {120, 8, 60, 72}, "Head", "head"},
    {12, Shape::Rect, {52, 100, 36, 190}, "Right arm", "rightArm"},
    {11, Shape::Rect, {212, 100, 36, 190}, "Left arm", "leftArm"},
    {14, Shape::Rect, {100, 320, 44, 210}, "Right leg", "rightLeg"},
    {13, Shape::Rect, {156, 320, 44, 210}, "Left leg", "leftLeg"},
    {18, Shape::Ellipse, {92, 100, 40, 76}, "LU R"},
    {4, Shape::Ellipse, {168, 100, 40, 76}, "LU L"},
    {2, Shape::Ellipse, {132, 110, 36, 40}, "PC"},
    {1, Shape::Ellipse, {138, 124, 24, 22}, "HT"},
    {3, Shape::Rect, {128, 182, 44, 14}, "TH"},
    {9, Shape::Ellipse, {98, 196, 58, 36}, "LV"},
    {16, Shape::Ellipse, {116, 226, 20, 16}, "GB"},
    {6, Shape::Ellipse, {158, 196, 38, 32}, "ST"},
    {15, Shape::Ellipse, {194, 192, 16, 32}, "SP"},
    {19, Shape::Ellipse, {108, 244, 18, 30}, "KI R"},
    {5, Shape::Ellipse, {174, 244, 18, 30}, "KI L"},
    {8, Shape::Rect, {126, 244, 48, 48}, "LI"},
    {7, Shape::Ellipse, {138, 258, 24, 24}, "SI"},
    {17, Shape::Ellipse, {136, 294, 28, 20}, "BL"},
};

const QColor Unset(225, 225, 225);

} // namespace

TDisplayForm::TDisplayForm(int bodyModel)
    : m_bodyModel(bodyModel == 1 ? 1 : 0) {
    setObjectName(QStringLiteral("TDisplayForm"));
    setWindowTitle(QStringLiteral("3D"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setFixedSize(480, 560);
    publish();
}

void TDisplayForm::setCaption(const QString &key, const QString &text) {
    if (text.trimmed().isEmpty())
        return;
    m_captions.insert(key, text);
    publish();
    update();
}

QString TDisplayForm::caption(const char *key, const char *fallback) const {
    return m_captions.value(QLatin1String(key), QLatin1String(fallback));
}

void TDisplayForm::setRegionColor(int region, int windowsColor) {
    if (region < 1 || region > 19)
        return;
    m_regions.insert(region, QColor(windowsColor & 0xFF, (windowsColor >> 8) & 0xFF,
                                    (windowsColor >> 16) & 0xFF));
    publish();
    update();
}

void TDisplayForm::addStatisticsLine(const QString &text) {
    m_lines.append(text);
    m_lineColors.append(QColor(Qt::black));
    publish();
    update();
}

void TDisplayForm::setLastStatisticsColor(int red, int green, int blue) {
    if (m_lineColors.isEmpty())
        return;
    m_lineColors.last() = QColor(qBound(0, red, 255), qBound(0, green, 255), qBound(0, blue, 255));
    publish();
    update();
}

void TDisplayForm::publish() {
    QVariantMap regions;
    for (auto it = m_regions.cbegin(); it != m_regions.cend(); ++it)
        regions.insert(QString::number(it.key()), it.value().name());
    QStringList colors;
    for (const QColor &c : m_lineColors)
        colors.append(c.name());
    setProperty("bodyModel", m_bodyModel);
    setProperty("regionColors", regions);
    setProperty("statisticsLines", QStringList(m_lines));
    setProperty("statisticsColors", colors);
    QVariantMap captions;
    for (auto it = m_captions.cbegin(); it != m_captions.cend(); ++it)
        captions.insert(it.key(), it.value());
    setProperty("captions", captions);
}

void TDisplayForm::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::white);

    // Trunk outline; the second model is drawn with a narrower waist and wider hips.
    QPainterPath trunk;
    if (m_bodyModel == 1) {
        trunk.moveTo(92, 92);
        trunk.lineTo(208, 92);
        trunk.quadTo(196, 210, 212, 320);
        trunk.lineTo(88, 320);
        trunk.quadTo(104, 210, 92, 92);
    } else {
        trunk.moveTo(88, 92);
        trunk.lineTo(212, 92);
        trunk.lineTo(204, 320);
        trunk.lineTo(96, 320);
        trunk.closeSubpath();
    }
    p.setPen(QPen(Qt::darkGray, 1.5));
    p.setBrush(QColor(245, 240, 232));
    p.drawRect(QRectF(140, 76, 20, 18)); // neck
    p.drawPath(trunk);

    QFont small = font();
    small.setPixelSize(10);
    p.setFont(small);
    for (const Shape &s : Shapes) {
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(m_regions.value(s.region, Unset));
        if (s.kind == Shape::Ellipse)
            p.drawEllipse(s.rect);
        else
            p.drawRoundedRect(s.rect, 6, 6);
        // The pericardium surrounds the heart and the large intestine the small one: their
        // labels sit in the ring above the inner organ.
        const bool ring = s.region == 2 || s.region == 8;
        const QRectF labelRect =
            ring ? QRectF(s.rect.left(), s.rect.top() + 1, s.rect.width(), 12) : s.rect;
        const QString label =
            s.captionKey ? caption(s.captionKey, s.label) : QLatin1String(s.label);
        // Limbs are narrow: their words run down them.
        if (s.kind == Shape::Rect && s.rect.height() > 3 * s.rect.width()) {
            p.save();
            p.translate(s.rect.center());
            p.rotate(-90);
            p.drawText(QRectF(-s.rect.height() / 2, -s.rect.width() / 2, s.rect.height(),
                              s.rect.width()),
                       Qt::AlignCenter, label);
            p.restore();
        } else {
            p.drawText(labelRect, Qt::AlignCenter, label);
        }
    }
    // The viewer faces the body: its right side is on the left.
    p.drawText(QRectF(4, 536, 90, 20), Qt::AlignLeft | Qt::AlignVCenter, caption("right", "Right"));
    p.drawText(QRectF(206, 536, 90, 20), Qt::AlignRight | Qt::AlignVCenter, caption("left", "Left"));
    p.drawText(QRectF(90, 536, 120, 20), Qt::AlignCenter,
               m_bodyModel == 1 ? caption("female", "Female") : caption("male", "Male"));

    // Statistics: one line per channel in its grade colour, on a swatch so pale colours read.
    QFont text = font();
    text.setPixelSize(13);
    p.setFont(text);
    for (int i = 0; i < m_lines.size(); ++i) {
        const QRectF row(310, 12 + i * 22, 160, 20);
        const QColor c = m_lineColors.value(i);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawRect(QRectF(row.left(), row.top() + 3, 14, 14));
        p.setPen(Qt::black);
        const QString name = i < 24 ? QLatin1String(ChannelNames[i]) : QString::number(i + 1);
        p.drawText(row.adjusted(22, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, name);
        p.setPen(c.lightness() > 200 ? c.darker(160) : c);
        p.drawText(row.adjusted(70, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, m_lines.at(i));
    }
}
