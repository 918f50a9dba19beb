#include "GraphOrders.h"

#include "records/Channels.h"

QList<int> GraphOrders::sideAfterSide()
{
    QList<int> order;
    for (int i = 0; i < Channels::Count; ++i)
        order.append(i);
    return order;
}

QList<int> GraphOrders::sideBySide()
{
    QList<int> order;
    for (int m = 0; m < Channels::MeridianCount; ++m) {
        order.append(m);
        order.append(m + Channels::MeridianCount);
    }
    return order;
}

QStringList GraphOrders::polarMeridians()
{
    return {QStringLiteral("LU"), QStringLiteral("LI"), QStringLiteral("ST"),
            QStringLiteral("SP"), QStringLiteral("HT"), QStringLiteral("SI"),
            QStringLiteral("BL"), QStringLiteral("KI"), QStringLiteral("PC"),
            QStringLiteral("TH"), QStringLiteral("GB"), QStringLiteral("LV")};
}

QColor GraphOrders::barColor(int value, const CorridorEvaluation &corridor)
{
    if (qAbs(value - corridor.mean) <= corridor.halfWidth)
        return QColor(0x00, 0x80, 0x00);
    return value > corridor.mean ? QColor(0xFF, 0x00, 0x00) : QColor(0x00, 0x00, 0xFF);
}

QColor GraphOrders::sideColor(int channel)
{
    return Channels::isLeft(channel) ? QColor(0x00, 0x00, 0xFF) : QColor(0xFF, 0x00, 0x00);
}

QColor GraphOrders::compareColor(int row)
{
    static const QColor palette[] = {
        QColor(0x1F, 0x77, 0xB4), QColor(0xD6, 0x27, 0x28), QColor(0x2C, 0xA0, 0x2C),
        QColor(0xFF, 0x7F, 0x0E), QColor(0x94, 0x67, 0xBD), QColor(0x8C, 0x56, 0x4B),
        QColor(0xE3, 0x77, 0xC2), QColor(0x7F, 0x7F, 0x7F), QColor(0xBC, 0xBD, 0x22),
        QColor(0x17, 0xBE, 0xCF),
    };
    const int n = int(sizeof(palette) / sizeof(palette[0]));
    const QColor base = palette[((row % n) + n) % n];
    // The second round of the palette is darker, so twenty rows stay apart.
    return (row / n) % 2 ? base.darker(150) : base;
}
