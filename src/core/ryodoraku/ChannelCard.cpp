#include "ChannelCard.h"

#include "ChannelCatalogue.h"
#include "ConductionClass.h"
#include "common/SeparatedList.h"

namespace {

QString textOr(const TextLookup &texts, const QString &key, const QString &fallback)
{
    const QString text = (texts && !key.isEmpty()) ? texts(key) : QString();
    return text.isEmpty() ? fallback : text;
}

QStringList itemTexts(const TextLookup &texts, const QStringList &keys)
{
    QStringList items;
    items.reserve(keys.size());
    for (const QString &key : keys)
        items.append(textOr(texts, key, QStringLiteral("Delete")));
    return items;
}

} // namespace

QColor catalogueColor(const QString &text)
{
    if (text.trimmed().isEmpty())
        return QColor();
    const QStringList parts = text.split(QLatin1Char(';'));
    int rgb[3] = {0, 0, 0};
    for (int i = 0; i < 3 && i < parts.size(); ++i) {
        bool ok = false;
        const int number = parts.at(i).trimmed().toInt(&ok);
        rgb[i] = ok ? ((number % 256) + 256) % 256 : 0;
    }
    return QColor(rgb[0], rgb[1], rgb[2]);
}

QColor conductionColor(int conductionClass)
{
    switch (ConductionClass(conductionClass)) {
    case ConductionClass::Low:
        return QColor(0x42, 0x9A, 0xE5);
    case ConductionClass::High:
        return QColor(0xFF, 0x4C, 0x4C);
    case ConductionClass::Normal:
        break;
    }
    return QColor(0x67, 0xBB, 0x24);
}

ChannelCard cardFor(const ChannelResult &slot, const ChannelCatalogue &catalogue,
                    const TextLookup &texts)
{
    ChannelCard card;
    const ChannelEntry &entry = catalogue.entry(slot.channel);
    card.channel = slot.channel;
    card.meridianCaption = textOr(texts, QStringLiteral("SymptMer"), QStringLiteral("Meridians"));
    // Both sides of a meridian have a card: each says its side.
    const QString side = entry.left == 0 ? textOr(texts, QStringLiteral("SideRight"), QStringLiteral("right"))
                                         : textOr(texts, QStringLiteral("SideLeft"), QStringLiteral("left"));
    card.pointName = entry.name + QStringLiteral(", ") + side;
    card.meridianName = textOr(texts, entry.meridian, QString());
    card.activityText = textOr(texts, QStringLiteral("Activity"), QStringLiteral("Activ"))
                        + QLatin1Char(' ') + entry.activ + QLatin1Char(' ')
                        + textOr(texts, QStringLiteral("Hours"), QStringLiteral("hour"));
    card.organText = textOr(texts, entry.organ, QString());
    card.firstCaption = textOr(texts, QStringLiteral("FirstSympt"), QString());
    card.secondCaption = textOr(texts, QStringLiteral("SeccondSympt"), QString());
    card.valueText = slot.text;
    card.percentText = QString::number(slot.deviation) + QLatin1Char('%');

    switch (ConductionClass(slot.conductionClass)) {
    case ConductionClass::Low:
        card.conductionText =
            textOr(texts, QStringLiteral("LowConduction"), QStringLiteral("Low conduction"));
        break;
    case ConductionClass::High:
        card.conductionText =
            textOr(texts, QStringLiteral("HeighConduction"), QStringLiteral("Heigh Conduction"));
        break;
    case ConductionClass::Normal:
        card.conductionText = textOr(texts, QStringLiteral("NolmalConduction"),
                                     QStringLiteral("Normal Conduction"));
        break;
    }
    card.conductionColor = conductionColor(slot.conductionClass);
    card.cardColor = catalogueColor(entry.color);

    // The sign of the deviation chooses the lists, whatever the class: a channel a little
    // below the mean still shows what a weak meridian tends to cause.
    const bool below = card.percentText.startsWith(QLatin1Char('-'));
    card.firstKeys = SeparatedList::split(below ? entry.firstL : entry.firstH);
    card.secondKeys = SeparatedList::split(below ? entry.seccondL : entry.seccondH);
    card.firstItems = itemTexts(texts, card.firstKeys);
    card.secondItems = itemTexts(texts, card.secondKeys);
    return card;
}
