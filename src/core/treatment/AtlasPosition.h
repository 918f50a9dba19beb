#pragma once

#include <QString>

// Where a point is marked: which body picture ("b" back, "f" front, "s" side), the two marks
// (the point on the left and on the right side of the body) in the picture's reference
// pixels, and the fill colour of the dots (0xBBGGRR).
struct AtlasPosition
{
    QString image = QStringLiteral("b");
    int left1 = 0;
    int top1 = 0;
    int left2 = 0;
    int top2 = 0;
    int color = 0;
};
