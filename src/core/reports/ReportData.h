#pragma once

#include "ReportScript.h"
#include "ReportSections.h"
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

    bool accept = false; // print header and footer
    ReportBand header;
    ReportBand footer;

    QList<int> order; // section ids in print order
};

namespace ReportData {

// The report data in the order the page expects it.
ReportScript compose(const ReportInput &input);

// A description split at its line ends, each line trimmed; blank lines at the end dropped.
QStringList descriptionLines(const QString &description);

// The CSS of a header or footer text: the family when it differs from the editor's, the size
// (header: 12 pt or more; footer: when it differs from the editor's), bold and italic.
QString bandStyle(const BandFont &text, const BandFont &editor, bool header);

// The date texts of the report.
QString dateText(const QDate &date);
QString momentText(const QDateTime &moment);

} // namespace ReportData
