#pragma once

#include "records/TestRecord.h"
#include "ryodoraku/ProgressFigures.h"

#include <QList>

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

// The charts of a printed report, drawn for the page: a chart of its own for the report's
// test, laid out at a fixed size and painted at print resolution, through the same drawing as
// the graphs page. Nothing on screen is grabbed, so a report never depends on which page was
// opened before or how large the window is.
namespace ReportCharts {

// The size a chart is laid out at, in pixels of the screen's scale: about the width of an A4
// text column, so the chart's words print at a readable size.
inline constexpr QSize LayoutSize{880, 460};
// Image pixels per layout pixel: 1760 pixels across the column is about 250 dots per inch.
inline constexpr int Scale = 2;

// Graph `kind` (1, 2 or 5, as the graphs page numbers them) of `test` with the corridor of
// `percent`. `drawnTexts` receives the words drawn on the chart from left to right (for a bar
// chart; a polar diagram gives none).
QImage render(int kind, const TestRecord &test, int percent, QStringList *drawnTexts = nullptr);
// The same written to a PNG file; false with a message when it cannot be written.
bool save(int kind, const TestRecord &test, int percent, const QString &path,
          QString *error = nullptr);

// The progress graph of `figures` (a client's tests, oldest first) in the applied language.
QImage renderProgress(const QList<ProgressFigures> &figures);
bool saveProgress(const QList<ProgressFigures> &figures, const QString &path,
                  QString *error = nullptr);

} // namespace ReportCharts
