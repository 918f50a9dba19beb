#pragma once

#include <QString>
#include <QStringList>

// One of the three time-based methods of choosing open points: the length of its day cycle
// and the time tables it reads from the data folder's Data/ (grid A first; the midday-midnight
// method has four grids, A-D).
struct OpenPointMethod
{
    enum Index { SacredTortoise = 0, Soaring = 1, MiddayMidnight = 2 };
    static constexpr int Count = 3;

    int index = SacredTortoise;
    int cycle = 0;
    QStringList tables;
    // The language key and built-in English text of the method's name.
    QString key;
    QString defaultText;

    // The eight confluent points answer to the eight-method tables only: in the midday-midnight
    // tables Gb 41 and Si 3 are transport points and do not open their partners.
    bool listsConfluentPairs() const { return index != MiddayMidnight; }
    bool listsTransportPoints() const { return index == MiddayMidnight; }

    // Index 0..2; an unknown index gives the first method.
    static const OpenPointMethod &byIndex(int index);
};
