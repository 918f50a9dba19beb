#pragma once

#include <QString>
#include <QStringList>

// Comma-separated text as spreadsheets read it: a field holding a quote, a comma or a line
// break is put in quotes with its quotes doubled; every line ends with CR LF.
namespace CsvText {

QString field(const QString &text);
// Text a spreadsheet would take for a formula (starting with = + - @, a tab or a line break)
// with an apostrophe in front, so a name such as "=HYPERLINK(...)" opens as text. Numbers are
// never passed through here: they stay numbers.
QString inert(const QString &text);
// The fields of one line, joined by commas, with the line end.
QString line(const QStringList &fields);

} // namespace CsvText
