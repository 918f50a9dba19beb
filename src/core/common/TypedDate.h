#pragma once

#include <QDate>
#include <QString>

// A date as people type it into a field: day first, in any of the usual forms, "12.03.1975",
// "12/3/1975", "12-03-75", "12031975", "120375", or year first, "1975-03-12". A two-digit
// year is the latest year so written that is not after `today`'s.
namespace TypedDate {

// The date the text means; an invalid date when it means none (empty text included).
QDate parse(const QString &text, const QDate &today);

} // namespace TypedDate
