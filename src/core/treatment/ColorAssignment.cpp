#include "ColorAssignment.h"

#include <QStringList>

QString ColorAssignment::colorText(const QColor &color)
{
    return QStringLiteral("%1/%2/%3/").arg(color.red()).arg(color.green()).arg(color.blue());
}

std::optional<QColor> ColorAssignment::parseColorText(const QString &text)
{
    if (!text.endsWith(QLatin1Char('/')))
        return std::nullopt;
    const QStringList parts = text.chopped(1).split(QLatin1Char('/'));
    if (parts.size() != 3)
        return std::nullopt;
    int rgb[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        rgb[i] = parts.at(i).trimmed().toInt(&ok);
        if (!ok || rgb[i] < 0 || rgb[i] > 255)
            return std::nullopt;
    }
    return QColor(rgb[0], rgb[1], rgb[2]);
}

QColor ColorAssignment::slot(int tag) const
{
    if (tag < 1 || tag > Slots)
        return QColor(Qt::black);
    return QColor::fromRgb(m_slots[size_t(tag - 1)]);
}

void ColorAssignment::setSlot(int tag, const QColor &color)
{
    if (tag >= 1 && tag <= Slots)
        m_slots[size_t(tag - 1)] = color.rgb() & 0xFFFFFF;
}

bool ColorAssignment::isSet(int tag) const
{
    return tag >= 1 && tag <= Slots && m_slots[size_t(tag - 1)] != 0;
}

bool ColorAssignment::hasAnySet() const
{
    for (int tag = 1; tag <= Slots; ++tag)
        if (isSet(tag))
            return true;
    return false;
}

void ColorAssignment::clear()
{
    m_slots.fill(0);
}

QString ColorAssignment::toText() const
{
    QString text;
    for (int tag = 1; tag <= Slots; ++tag)
        text += colorText(slot(tag));
    return text;
}

bool ColorAssignment::fromText(const QString &text)
{
    clear();
    // Every colour text closes with "/", three per colour.
    const QStringList parts = text.trimmed().split(QLatin1Char('/'));
    if (parts.size() != Slots * 3 + 1 || !parts.last().isEmpty())
        return false;
    ColorAssignment read;
    for (int tag = 1; tag <= Slots; ++tag) {
        const int at = (tag - 1) * 3;
        const auto color = parseColorText(parts.at(at) + QLatin1Char('/') + parts.at(at + 1)
                                          + QLatin1Char('/') + parts.at(at + 2) + QLatin1Char('/'));
        if (!color)
            return false;
        read.setSlot(tag, *color);
    }
    *this = read;
    return true;
}

int ColorAssignment::firstTag(int selectedTag, bool twoColors)
{
    if (selectedTag < 1 || selectedTag > Slots)
        return 1;
    if (!twoColors && selectedTag % 2 == 0)
        return selectedTag - 1;
    return selectedTag;
}

int ColorAssignment::nextTag(int tag, bool twoColors)
{
    // With one colour per channel only the first slots play: a second slot that started the
    // run (it cannot, see firstTag) would still lead on to the next channel.
    const int next = twoColors ? tag + 1 : (tag % 2 == 1 ? tag + 2 : tag + 1);
    return next >= 1 && next <= Slots ? next : 0;
}
