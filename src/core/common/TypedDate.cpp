#include "TypedDate.h"

#include <QList>
#include <QRegularExpression>

namespace TypedDate {

namespace {

int fullYear(const QString &digits, const QDate &today)
{
    const int year = digits.toInt();
    if (digits.size() != 2)
        return year;
    const int century = today.year() / 100 * 100;
    return century + year > today.year() ? century - 100 + year : century + year;
}

} // namespace

QDate parse(const QString &text, const QDate &today)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    static const QRegularExpression groupsPattern(QStringLiteral("\\d+"));
    QList<QString> groups;
    for (auto it = groupsPattern.globalMatch(t); it.hasNext();)
        groups.append(it.next().captured());
    // Anything but digits and plain separators means the text is not a date.
    static const QRegularExpression allowed(QStringLiteral("^[\\d\\s./\\-]+$"));
    if (!allowed.match(t).hasMatch())
        return {};

    QString day, month, year;
    if (groups.size() == 1) {
        const QString &g = groups.front();
        if (g.size() != 6 && g.size() != 8)
            return {};
        day = g.left(2);
        month = g.mid(2, 2);
        year = g.mid(4);
    } else if (groups.size() == 3) {
        if (groups[0].size() == 4) { // year first
            year = groups[0];
            month = groups[1];
            day = groups[2];
        } else {
            day = groups[0];
            month = groups[1];
            year = groups[2];
        }
        if (day.size() > 2 || month.size() > 2 || (year.size() != 2 && year.size() != 4))
            return {};
    } else {
        return {};
    }
    return QDate(fullYear(year, today), month.toInt(), day.toInt());
}

} // namespace TypedDate
