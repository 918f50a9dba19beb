#include "OpenPointCodes.h"

#include <array>

namespace {
struct Spelling
{
    const char *table;
    const char *listed;
};
// Longest prefixes first, so "Liv" is not read as "Li".
constexpr std::array<Spelling, 5> kRenamed = {{
    {"Liv", "Lv"},
    {"Per", "Pc"},
    {"Tb", "Th"},
    {"Sl", "Si"},
    {"Ll", "Li"},
}};
} // namespace

QString OpenPointCodes::listedCode(const QString &tableCode)
{
    const QString code = tableCode.trimmed();
    const qsizetype blank = code.indexOf(QLatin1Char(' '));
    if (blank <= 0)
        return code;
    const QString prefix = code.left(blank);
    const QString number = code.mid(blank + 1).trimmed();
    for (const Spelling &s : kRenamed) {
        if (prefix == QLatin1String(s.table))
            return QLatin1String(s.listed) + QLatin1Char(' ') + number;
    }
    return prefix + QLatin1Char(' ') + number;
}

QString OpenPointCodes::meridianOf(const QString &listedCode)
{
    const QString code = listedCode.trimmed();
    const qsizetype blank = code.indexOf(QLatin1Char(' '));
    const QString prefix = blank < 0 ? code : code.left(blank);
    if (prefix == QLatin1String("Lj"))
        return QStringLiteral("Li");
    if (prefix == QLatin1String("Sj"))
        return QStringLiteral("Si");
    return prefix;
}

QString OpenPointCodes::channelCodeOf(const QString &meridian)
{
    return meridian.toUpper();
}

const QList<std::pair<QString, QString>> &OpenPointCodes::confluentPairs()
{
    static const QList<std::pair<QString, QString>> pairs = {
        {QStringLiteral("Bl 62"), QStringLiteral("Sl 3")},
        {QStringLiteral("Gb 41"), QStringLiteral("Tb 5")},
        {QStringLiteral("Per 6"), QStringLiteral("Sp 4")},
        {QStringLiteral("Ki 6"), QStringLiteral("Lu 7")},
    };
    return pairs;
}

const QStringList &OpenPointCodes::transportPoints()
{
    static const QStringList points = {
        QStringLiteral("Liv 2"), QStringLiteral("Per 7"), QStringLiteral("Sp 5"),
        QStringLiteral("Ll 5"),  QStringLiteral("Gb 40"), QStringLiteral("Lu 9"),
        QStringLiteral("Bl 40"), QStringLiteral("Liv 3"), QStringLiteral("Lu 8"),
        QStringLiteral("Sj 1"),  QStringLiteral("Ki 10"), QStringLiteral("Gb 38"),
        QStringLiteral("Lj 3"),  QStringLiteral("Bl 60"), QStringLiteral("Gb 34"),
        QStringLiteral("Tb 3"),  QStringLiteral("Lu 5"),  QStringLiteral("Per 9"),
        QStringLiteral("Gb 44"), QStringLiteral("Ki 3"),  QStringLiteral("Tb 2"),
        QStringLiteral("Liv 1"), QStringLiteral("Ht 8"),  QStringLiteral("Per 8"),
        QStringLiteral("St 1"),  QStringLiteral("St 44"), QStringLiteral("Ht 9"),
        QStringLiteral("Sp 2"),  QStringLiteral("Ht 7"),  QStringLiteral("Ll 2"),
        QStringLiteral("St 42"), QStringLiteral("St 43"), QStringLiteral("Sp 3"),
        QStringLiteral("Sl 8"),  QStringLiteral("Tb 6"),  QStringLiteral("Sp 1"),
        QStringLiteral("Ht 3"),  QStringLiteral("Per 3"), QStringLiteral("Lj 1"),
        QStringLiteral("Bl 66"), QStringLiteral("St 36"), QStringLiteral("Tb 10"),
        QStringLiteral("Lu 11"), QStringLiteral("Ki 2"),  QStringLiteral("Gb 41"),
        QStringLiteral("Bl 67"), QStringLiteral("Gb 43"), QStringLiteral("Sl 3"),
        QStringLiteral("Lu 10"), QStringLiteral("Liv 4"), QStringLiteral("Ki 7"),
        QStringLiteral("Ll 4"),  QStringLiteral("Sl 5"),  QStringLiteral("Ht 4"),
        QStringLiteral("Sp 9"),  QStringLiteral("St 41"), QStringLiteral("Ll 11"),
        QStringLiteral("Ki 1"),  QStringLiteral("St 45"),
        // The remaining transport points the midday-midnight tables open: without them a
        // period that opens one of these would list nothing.
        QStringLiteral("Sl 2"),  QStringLiteral("Sl 4"),  QStringLiteral("Tb 1"),
        QStringLiteral("Bl 65"), QStringLiteral("Per 5"), QStringLiteral("Liv 8"),
        // The source points of the bladder and the triple burner, which some tables name.
        QStringLiteral("Bl 64"), QStringLiteral("Tb 4"),
    };
    return points;
}

bool OpenPointCodes::cellIs(const QString &cell, const QString &code)
{
    return cell.trimmed() == code.trimmed();
}
