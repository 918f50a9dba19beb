#pragma once

#include "records/TestRecord.h"
#include "ReportScript.h"
#include "ReportSections.h"
#include "ryodoraku/CorridorEvaluation.h"
#include "ryodoraku/ProgressFigures.h"
#include "SymptomLines.h"
#include "treatment/RecipeLine.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

// The header or footer of a report: its lines, the alignment of the paragraph and the CSS
// style of the text.
struct ReportBand
{
    enum Alignment { Left = 0, Right = 1, Centre = 2 };
    QStringList lines;
    Alignment alignment = Left;
    QString style;
    QStringList pictures; // file names in print_pict/, shown above the lines
};

// The font of a piece of header or footer text, and of the editor itself.
struct BandFont
{
    QString family;
    int pointSize = 0;
    bool bold = false;
    bool italic = false;
};

// Everything one report shows, gathered by the print page.
struct ReportInput
{
    std::array<bool, ReportSections::Count> enabled{};
    QStringList captions; // by section id

    QString surname;
    QString name;
    QDate birthDay;
    QDate registered;
    QDateTime testDate;
    bool picturesTaken = false; // a test exists and its pictures were saved

    // A chart of the test as the report shows it: whether its picture was written, and under
    // a bar chart its channels with their values and classes, in the chart's order.
    struct ChartCell
    {
        QString name;
        int value = 0;
        int conduction = 0; // -1 below the corridor, 0 inside, 1 above
    };
    struct Chart
    {
        bool drawn = false;
        QList<ChartCell> cells;
    };
    Chart circle;
    Chart histogram;
    Chart general;

    struct Recommendation
    {
        QString name;
        QString description;
        bool ticked = false;
    };
    QList<Recommendation> recommendations;

    QString colourCaption;
    QString frequencyCaption;
    bool colourPicture = false;
    bool frequencyPicture = false;

    RecipeLines acupressure;
    QList<SymptomGroup> symptoms;

    // The client's tests over time, with the figures the progress graph shows, its picture and
    // the headings of the table columns (date, outside, mean deviation, left-right, mean).
    struct Progress
    {
        QList<ProgressFigures> figures;
        bool drawn = false;
        QStringList headings;
    };
    Progress progress;

    bool accept = false; // print header and footer
    ReportBand header;
    ReportBand footer;

    QList<int> order; // section ids in print order
};

namespace ReportData {

// The report data in the order the page expects it.
ReportScript compose(const ReportInput &input);

// The cells under a bar chart of `test` with the corridor `corridor`, in `order`.
QList<ReportInput::ChartCell> chartCells(const TestRecord &test, const CorridorEvaluation &corridor,
                                         const QList<int> &order);
// The acupuncture lines a report prints: the screen's separator lines left out.
RecipeLines printedRecipe(const RecipeLines &lines);

// A description split at its line ends, each line trimmed; blank lines at the end dropped.
QStringList descriptionLines(const QString &description);

// The CSS of a header or footer text: the family when it differs from the editor's, the size
// (header: 12 pt or more; footer: when it differs from the editor's), bold and italic.
QString bandStyle(const BandFont &text, const BandFont &editor, bool header);

// The name a saved report suggests: "<surname> <name> <test date>", without the characters no
// file name may hold; "report" when all of it is empty.
QString fileName(const QString &surname, const QString &name, const QDate &testDate);

// A percentage of the progress table, one decimal as the progress graph shows it.
QString figureText(double value);

// The date texts of the report.
QString dateText(const QDate &date);
QString momentText(const QDateTime &moment);

} // namespace ReportData
