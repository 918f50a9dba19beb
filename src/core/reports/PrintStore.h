#pragma once

#include "PrintCatalogue.h"

#include <QString>

class DataModule;

// Changes to the print catalogues, each committed when it is made. Names are compared as
// stored (trimmed); text reaches the base only as bound values. A print template's name is
// unique in STENCILS; a recommendation is one row per name and language.
class PrintStore
{
public:
    // Field widths of the tables.
    static constexpr int StencilNameWidth = 30;
    static constexpr int RecommendationNameWidth = 100;

    explicit PrintStore(DataModule *data);

    bool stencilExists(const QString &name) const;
    // A new template; refused when the name is empty or taken.
    bool addStencil(const PrintCatalogue::Stencil &stencil, QString *error = nullptr);
    // Replaces the contents of the template of that name (name and priority stay).
    bool changeStencil(const PrintCatalogue::Stencil &stencil, QString *error = nullptr);
    bool removeStencil(const QString &name, QString *error = nullptr);
    // PRIORITY 1 for the named template and 0 for every other; an empty name clears them all.
    bool markStencil(const QString &name, QString *error = nullptr);

    // Stores the description under the name in that language: a new row, or the row of the
    // same name and language changed.
    bool storeRecommendation(const PrintCatalogue::Recommendation &recommendation,
                             QString *error = nullptr);
    bool removeRecommendation(const QString &name, const QString &language,
                              QString *error = nullptr);

private:
    bool ready(QString *error) const;

    DataModule *m_data;
};
