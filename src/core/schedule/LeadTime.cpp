#include "LeadTime.h"

QDateTime LeadTime::before(const QDateTime &start) const
{
    switch (unit) {
    case Seconds:
        return start.addSecs(-count);
    case Minutes:
        return start.addSecs(-qint64(count) * 60);
    case Hours:
        return start.addSecs(-qint64(count) * 3600);
    case Days:
        // Calendar days: the reminder keeps the time of day across a daylight-saving change.
        return start.addDays(-count);
    }
    return start;
}

QString LeadTime::encode() const
{
    return QString::number(count) + QString::number(int(unit));
}

std::optional<LeadTime> LeadTime::decode(const QString &text)
{
    const QString t = text.trimmed();
    if (t.size() < 2)
        return std::nullopt;
    for (const QChar c : t) {
        if (!c.isDigit() || c.unicode() > '9')
            return std::nullopt;
    }
    const int unit = t.back().digitValue();
    const int count = t.first(t.size() - 1).toInt();
    if (unit > Days || count > MaxCount)
        return std::nullopt;
    return LeadTime{count, Unit(unit)};
}
