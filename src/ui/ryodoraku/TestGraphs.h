#pragma once

#include "records/TestRecord.h"

#include <QString>

class PolarDiagram;
class TestChart;

// How one test is drawn as graph 1 (the two sides one after the other), 2 (side by side),
// 4 (raw values) or 5 (polar diagram): the words, the title, the orders and the corridor. The
// graphs page and the printed report both draw through here, so a report shows exactly what
// the page shows.
namespace TestGraphs {

// A text of the applied language, or the English one while the language lacks the key.
QString word(const QString &key, const QString &fallback);
// The title of a test's graph: its date and time.
QString title(const TestRecord &test);

// Draws `test` as graph `kind` (1, 2 or 4 on `chart`; 5 on `polar`) with the corridor of
// `percent`, in the words of the applied language.
void draw(int kind, const TestRecord &test, int percent, TestChart *chart, PolarDiagram *polar);
// The words drawn inside a chart and a polar diagram.
void applyWords(TestChart *chart);
void applyWords(PolarDiagram *polar);

} // namespace TestGraphs
