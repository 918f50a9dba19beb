#include "DateTexts.h"

#include <QLocale>

namespace DateTexts {

QString date(const QDate &date)
{
    return date.isValid() ? QLocale().toString(date, QStringLiteral("d MMM yyyy")) : QString();
}

QString time(const QTime &time)
{
    return time.isValid() ? time.toString(QStringLiteral("HH:mm")) : QString();
}

QString dateTime(const QDateTime &moment)
{
    if (!moment.isValid())
        return {};
    return date(moment.date()) + QLatin1Char(' ') + time(moment.time());
}

} // namespace DateTexts
