#pragma once

#include <QList>
#include <QString>

// One piece of the acupuncture result as the practitioner reads it: the
// treatment page lays these out as labels, the printed report copies them.
struct RecipeLine
{
    enum class Kind {
        Plain = 0,      // ordinary text
        Heading = 1,    // underlined, starts a new line
        Attention = 2,  // shown in red
        Point = 3,      // a point code, bold (opens the atlas where clickable)
    };

    QString text;
    Kind kind = Kind::Plain;
    bool endsLine = true;  // the next piece starts on a new line

    bool operator==(const RecipeLine &) const = default;
};

using RecipeLines = QList<RecipeLine>;
