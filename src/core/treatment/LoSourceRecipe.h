#pragma once

#include "MeridianRelations.h"
#include "MeridianScoring.h"

#include <QList>
#include <QString>

// The recipe of connecting (LO) and source points for related meridians: a deficient meridian
// related to one in excess gets its LO point stimulated; when the two are the coupled pair,
// the excess meridian's source point is dispersed as well.
class LoSourceRecipe
{
public:
    enum class Action { Stimulation, Dispersion };
    struct Entry
    {
        int meridian = 0; // 1..12
        Action action = Action::Stimulation;
        QString point;    // the LO point for stimulation, the source point for dispersion
        bool operator==(const Entry &) const = default;
    };

    // Entries in meridian order I..XII. `pairFound` says whether any excess meridian had a
    // deficient relation (then the entries are not empty either).
    static QList<Entry> build(const MeridianRelations &relations,
                              const MeridianScoring::Marks &marks, bool *pairFound = nullptr);
};
