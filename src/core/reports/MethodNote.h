#pragma once

#include <QString>

// The note on what the workstation measures and how its readings are meant: shown once at the
// first start and printed in the report's footer unless the practitioner writes another.
namespace MethodNote {

// The note in the current language.
QString text();

// Whether the practitioner has closed the note at a start (Options.ini [Notice] MethodNote).
bool acknowledged();
// Remembers that the note was read; false with the reason when Options.ini cannot be written.
bool acknowledge(QString *error = nullptr);

} // namespace MethodNote
