#pragma once

#include <QString>

// The corridor percentage as Options.ini keeps it ([medium] val), for a view that has no
// settings field to read: the text, to be checked by CorridorEvaluation::parsePercent.
namespace CorridorPercent {

QString stored();

} // namespace CorridorPercent
