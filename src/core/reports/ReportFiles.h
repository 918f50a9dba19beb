#pragma once

#include "ReportSections.h"

#include <QString>

class ReportScript;
class ReportTemplate;

// The files of a report in the data folder: the page, its data and the pictures in
// print_pict/. Existing files are found whatever the case of their names.
namespace ReportFiles {

QString pagePath();
QString dataPath();
QString pictureFolder(); // created when missing, ends with "/"
QString picturePath(ReportSections::Picture picture);
// The file name in print_pict/ of picture `index` of the header ("header") or footer.
QString bandPictureFile(const QString &band, int index);

// The page from the template, pointing at the data file by its real name.
bool writePage(const ReportTemplate &page, QString *error = nullptr);
bool writeData(const ReportScript &script, QString *error = nullptr);
// The pictures of the last report and a leftover graph.bmp: a picture that cannot be made
// this time must never show another client's chart.
void removePictures();

} // namespace ReportFiles
