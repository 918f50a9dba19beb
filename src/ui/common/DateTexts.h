#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

// Dates and times as the interface shows them: in the conventions of the interface language
// (the default locale, set when a language is applied), the month by its short name so that
// no reader mistakes day for month, and always on the 24-hour clock.
namespace DateTexts {

// "7 Dec 2026", "7 дек. 2026"; empty for an invalid date.
QString date(const QDate &date);
// "14:05"
QString time(const QTime &time);
// "7 Dec 2026 14:05"
QString dateTime(const QDateTime &moment);

} // namespace DateTexts
