#pragma once

#include "records/Channels.h"

#include <QList>
#include <QString>

#include <array>

class ChannelCatalogue;

// The ticks of one shown card as plain lists, so the rules below need no widget.
struct CardTicks
{
    int channel = 0;
    QList<bool> first;  // first-symptom list
    QList<bool> second; // second-symptom list
    // The card's three small extra lists.
    std::array<QList<bool>, 3> extra;
};

// The symptom marks of the test on screen, one record per channel. A mark string is one
// "1"/"0" per list item followed by "&"; an empty string means nothing is known.
struct ChannelMark
{
    QString name;   // the catalogue name, also written into the stored text
    QString first;
    QString second;
    QString other;  // the three extra lists, interleaved row by row
};

class ChannelMarks
{
public:
    ChannelMarks() = default;

    ChannelMark &operator[](int channel) { return m_marks.at(size_t(channel)); }
    const ChannelMark &operator[](int channel) const { return m_marks.at(size_t(channel)); }

    // The DATA text of the SYMPTOMS table: for each channel name + "&" + the three strings,
    // an empty one written as "%".
    QString dataText() const;
    // Reads a DATA text back into the strings (the names stay). A text that ends early leaves
    // the remaining channels as they are.
    void parseData(const QString &data);

private:
    std::array<ChannelMark, Channels::Count> m_marks{};
};

// The names from the catalogue, every mark string empty.
void loadCatalogueNames(ChannelMarks &marks, const ChannelCatalogue &catalogue);
// Every mark string of every channel "0&".
void resetMarks(ChannelMarks &marks);
// The ticks of the shown cards into their channels' marks.
void captureMarks(ChannelMarks &marks, const QList<CardTicks> &shown);
// The stored ticks onto the shown cards' first and second lists, when any channel has a
// `first` string; the extra lists are kept but never applied.
void applyMarks(const ChannelMarks &marks, QList<CardTicks> &shown);
