#pragma once

class QTableView;

// A table whose stretched column holds names: the table asks for the width that shows the
// longest name in full beside its other columns, so that a window too small for it scrolls
// the page instead of cutting the names.
namespace TableFit {

void keepColumnReadable(QTableView *table, int column);

} // namespace TableFit
