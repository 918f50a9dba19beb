#pragma once

#include "OpenPointMethod.h"
#include "OpenPointTables.h"

#include <QList>
#include <QString>

// One open point of the list: where it came from (a confluent pair or the transport points),
// its codes, its meridian and, for the midday-midnight method, which of its two ways opened it.
struct OpenPoint
{
    enum Source { Confluent, Transport };
    // The midday-midnight method opens a point by the day's stem (grids A and B) or by the
    // hour's branch (grids C and D).
    enum Qualifier { NoQualifier = 0, ByDayStem = 1, ByHourBranch = 2 };

    Source source = Confluent;
    Qualifier qualifier = NoQualifier;
    QString tableCode; // "Liv 2"
    QString code;      // "Lv 2"
    QString meridian;  // "Lv"

    // The language key of the meridian's display name ("MerNameLV").
    QString meridianNameKey() const;
    bool operator==(const OpenPoint &other) const = default;
};

class OpenPointListing
{
public:
    // The open points of `method` at table column H and cycle day `day`, in list order:
    // both members of a confluent pair whose member stands in grid A; then, for the
    // midday-midnight method, every transport point found in grid A or B (by the day's stem)
    // and, after it, in grid C or D (by the hour's branch). A cell naming no known point adds
    // no point; its text goes to `unknown`, so the page can say so.
    static QList<OpenPoint> list(const OpenPointMethod &method, const OpenPointTables &tables,
                                 int column, int day, QStringList *unknown = nullptr);
};
