#pragma once

#include "ChannelResult.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <functional>

class ChannelCatalogue;

// What one channel card shows: plain texts and colours, ready for whatever draws the card.
struct ChannelCard
{
    int channel = 0;
    QString meridianCaption; // SymptMer
    QString meridianName;
    QString pointName;
    QString valueText;       // "62/55"
    QString percentText;     // "-9%", "0%", "25%"
    QString activityText;    // "Activ 3-5 hour"
    QString organText;
    QString firstCaption;
    QString secondCaption;
    QString conductionText;
    QColor conductionColor;  // fills the percentage and conduction fields
    QColor conductionTextColor = Qt::white;
    // Fills the meridian-name and point-name fields; invalid when the catalogue gives none, and
    // the card keeps its design colours.
    QColor cardColor;
    QStringList firstKeys;   // the language keys of the symptom items
    QStringList secondKeys;
    QStringList firstItems;  // their texts
    QStringList secondItems;
};

// A text of the current language by key; empty when the language has none.
using TextLookup = std::function<QString(const QString &key)>;

ChannelCard cardFor(const ChannelResult &slot, const ChannelCatalogue &catalogue,
                    const TextLookup &texts);

// The card colour from a catalogue text "R;G;B;": each number taken modulo 256. A text with
// fewer numbers uses those it has (the rest 0); an empty text gives no colour.
QColor catalogueColor(const QString &text);
// The colour of a conduction class code (low blue, high red, normal green).
QColor conductionColor(int conductionClass);
