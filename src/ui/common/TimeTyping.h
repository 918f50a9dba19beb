#pragma once

class QDateTimeEdit;

// Time and date fields that take typing at once: a click selects the section clicked and Tab
// the first one, so digits typed replace it ("0930" gives 09:30) instead of being refused at a
// bare cursor.
namespace TimeTyping {

void install(QDateTimeEdit *edit);

} // namespace TimeTyping
