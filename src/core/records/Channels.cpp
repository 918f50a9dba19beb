#include "Channels.h"

namespace {

QStringList makeNames()
{
    QStringList list;
    for (const QChar side : {QLatin1Char('L'), QLatin1Char('R')}) {
        for (const QString &code : Channels::meridianCodes())
            list.append(side + code);
    }
    return list;
}

const QStringList &classicalOrder()
{
    static const QStringList order = {
        QStringLiteral("LU"), QStringLiteral("LI"), QStringLiteral("ST"), QStringLiteral("SP"),
        QStringLiteral("HT"), QStringLiteral("SI"), QStringLiteral("BL"), QStringLiteral("KI"),
        QStringLiteral("PC"), QStringLiteral("TH"), QStringLiteral("GB"), QStringLiteral("LV"),
    };
    return order;
}

} // namespace

const QStringList &Channels::meridianCodes()
{
    static const QStringList codes = {
        QStringLiteral("LU"), QStringLiteral("PC"), QStringLiteral("HT"), QStringLiteral("SI"),
        QStringLiteral("TH"), QStringLiteral("LI"), QStringLiteral("SP"), QStringLiteral("LV"),
        QStringLiteral("KI"), QStringLiteral("BL"), QStringLiteral("GB"), QStringLiteral("ST"),
    };
    return codes;
}

const QStringList &Channels::names()
{
    static const QStringList list = makeNames();
    return list;
}

QString Channels::name(int index)
{
    return index >= 0 && index < Count ? names().at(index) : QString();
}

int Channels::indexOf(const QString &name)
{
    const QString wanted = name.trimmed();
    for (int i = 0; i < Count; ++i) {
        if (names().at(i).compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString Channels::meridian(int index)
{
    return index >= 0 && index < Count ? meridianCodes().at(index % MeridianCount) : QString();
}

QChar Channels::side(int index)
{
    if (index < 0 || index >= Count)
        return QChar();
    return index < MeridianCount ? QLatin1Char('L') : QLatin1Char('R');
}

int Channels::indexOf(QChar side, const QString &meridian)
{
    int offset = 0;
    if (side.toUpper() == QLatin1Char('R'))
        offset = MeridianCount;
    else if (side.toUpper() != QLatin1Char('L'))
        return -1;
    const QString code = meridian.trimmed();
    for (int i = 0; i < MeridianCount; ++i) {
        if (meridianCodes().at(i).compare(code, Qt::CaseInsensitive) == 0)
            return offset + i;
    }
    return -1;
}

int Channels::mirror(int index)
{
    if (index < 0 || index >= Count)
        return -1;
    return index < MeridianCount ? index + MeridianCount : index - MeridianCount;
}

int Channels::classicalNumber(const QString &meridian)
{
    const QString code = meridian.trimmed();
    for (int i = 0; i < MeridianCount; ++i) {
        if (classicalOrder().at(i).compare(code, Qt::CaseInsensitive) == 0)
            return i + 1;
    }
    return 0;
}

QString Channels::meridianOfNumber(int number)
{
    return number >= 1 && number <= MeridianCount ? classicalOrder().at(number - 1) : QString();
}
