#include "TherapyChannels.h"

#include "records/Channels.h"

namespace {

QStringList bothSides(const QStringList &meridians)
{
    QStringList names;
    for (const QChar side : {QLatin1Char('L'), QLatin1Char('R')})
        for (const QString &meridian : meridians)
            names.append(side + meridian);
    return names;
}

} // namespace

const QStringList &TherapyChannels::colorOrder()
{
    static const QStringList order = bothSides(
        QStringLiteral("LU PC HT LV SP KI LI TH SI ST GB BL").split(QLatin1Char(' ')));
    return order;
}

const QStringList &TherapyChannels::freqOrder()
{
    return Channels::names();
}

const std::array<int, TherapyChannels::Count> &TherapyChannels::colorToCanonical()
{
    static const std::array<int, Count> map = [] {
        std::array<int, Count> built{};
        for (int i = 0; i < Count; ++i)
            built[size_t(i)] = Channels::indexOf(colorOrder().at(i));
        return built;
    }();
    return map;
}

QString TherapyChannels::deviationText(int value, int mean)
{
    if (value == mean || mean == 0)
        return QStringLiteral("0%");
    // 64-bit products: a device reading times 100 cannot overflow.
    const long long v = value, m = mean;
    if (v > m)
        return QStringLiteral("+%1%").arg((v - m) * 100 / m);
    return QStringLiteral("-%1%").arg((m - v) * 100 / m);
}
