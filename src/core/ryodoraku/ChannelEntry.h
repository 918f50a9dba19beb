#pragma once

#include <QString>

// One section of the channel catalogue Dots24.INI: what the program knows about one of the 24
// measured channels. Missing keys hold the catalogue's defaults (side and group 3 match only
// the "both" filters).
struct ChannelEntry
{
    QString name;     // point name shown on the card; the channel's name in stored marks
    QString id;       // TESTS column holding the channel's value ("LLU" .. "RST")
    int left = 3;     // 1 left, 0 right
    int in = 3;       // 1 yin, 0 yang
    QString meridian; // language key of the meridian's name
    QString organ;    // language key of the organ text
    QString activ;    // activity hours, shown as written
    QString color;    // "R;G;B;"
    QString firstL;   // symptom lists ("A&B&#") for a negative deviation
    QString seccondL;
    QString firstH;   // ... and otherwise
    QString seccondH;
};
