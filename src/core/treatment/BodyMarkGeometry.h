#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

// Where the marks of a point go on a body picture. Positions are given on the reference
// pictures (back 285, front 281, side 232 pixels wide, all 556 high) and scaled to the
// picture as it is shown.
class BodyMarkGeometry
{
public:
    enum class Picture { Back, Front, Side };

    static constexpr int ReferenceHeight = 556;
    static constexpr int DotSize = 8;
    static constexpr int RingSize = 21;
    // Rings sit this far left of and above their dot.
    static constexpr int RingOffset = 7;
    // The atlas window always moves a dot 3 reference pixels up and left.
    static constexpr int AtlasCorrection = 3;

    // "b", "f", "s" (letter case aside); anything else, or nothing, is the back.
    static Picture pictureOf(const QString &image);
    static QSize referenceSize(Picture picture);
    // The picture's place in an area: as large as fits with its proportions kept, centred.
    static QRect fit(const QSize &area, Picture picture);
    // The top-left corner of a dot for reference position (x, y) on a picture shown at
    // `shown`, moved up and left by `correction` reference pixels, truncated to whole pixels.
    static QPoint dotAt(const QRect &shown, Picture picture, int x, int y, int correction);
    static QPoint ringAt(const QPoint &dot) { return dot - QPoint(RingOffset, RingOffset); }
    // The disease page moves dots by 2 on pictures shown at least 500 pixels high, else by 3.
    static int diseaseCorrection(const QRect &shown) { return shown.height() >= 500 ? 2 : 3; }

    // A colour value 0xBBGGRR (red in the low byte).
    static QColor colorOf(int value);
};
