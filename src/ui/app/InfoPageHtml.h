#pragma once

#include <QString>

class DataModule;

// The pages of the information page that the program writes itself, from what it finds on
// this computer: about the program, and where the practitioner's data lives.
class InfoPageHtml
{
public:
    static QString about(DataModule *data);
    static QString myData(DataModule *data);
    // Stands in for a help page that is missing from the install folder.
    static QString missing(const QString &path);
};
