#pragma once

#include "reports/ReportSections.h"
#include "treatment/RecipeLine.h"

#include <QString>

#include <functional>

// What the print page asks other pages for while it composes a report. Each provider may be
// missing: a picture section then prints its caption only, the acupressure section stays
// empty, the percentage comes from Options.ini.
struct ReportSources
{
    // Draws a therapy programme (ColourPicture, FrequencyPicture) straight into a picture file;
    // false when it cannot (no programme, nothing drawn). The test's own charts are drawn by
    // the report itself.
    std::function<bool(int picture, const QString &path)> savePicture;
    // The acupuncture result of the current test, as the treatment page shows it.
    std::function<RecipeLines()> acupressure;
    // The corridor percentage as the settings field holds it.
    std::function<QString()> percent;
};
