#include "LoSourceRecipe.h"

#include <array>

QList<LoSourceRecipe::Entry> LoSourceRecipe::build(const MeridianRelations &relations,
                                                   const MeridianScoring::Marks &marks,
                                                   bool *pairFound)
{
    constexpr int n = MeridianRelations::Count;
    std::array<int, n> flag{}; // +1 stimulate the LO point, -1 disperse the source point
    bool found = false;
    for (int r = 1; r <= n; ++r) {
        if (!marks[size_t(r - 1)].excess)
            continue;
        const auto &related = relations.row(r).related;
        for (size_t c = 0; c < related.size(); ++c) {
            const int d = related[c];
            if (d < 1 || d > n || !marks[size_t(d - 1)].deficiency)
                continue;
            found = true;
            flag[size_t(d - 1)] = 1;
            if (c == 0) // the coupled meridian
                flag[size_t(r - 1)] = -1;
        }
    }
    if (pairFound)
        *pairFound = found;

    QList<Entry> entries;
    for (int m = 1; m <= n; ++m) {
        const int f = flag[size_t(m - 1)];
        if (f > 0)
            entries.append({m, Action::Stimulation, relations.row(m).loPoint});
        else if (f < 0)
            entries.append({m, Action::Dispersion, relations.row(m).sourcePoint});
    }
    return entries;
}
