#pragma once

#include "OpenPointListing.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

// Where an open point is shown: one of the four body pictures (1 and 4 the sides, 2 the back,
// 3 the front) and the point's place on it, in the picture's reference size. Confluent points
// and transport points have tables of their own, so Si 3 and Gb 41 take their place from the
// list they were listed in.
class OpenPointMarkers
{
public:
    static constexpr int Pictures = 4;

    struct Place
    {
        int picture = 0; // 1..4, 0 = unknown point
        int x = 0;
        int y = 0;
        bool isValid() const { return picture > 0; }
    };

    static Place place(OpenPoint::Source source, const QString &listedCode, bool rightSide);
    static Place place(const OpenPoint &point, bool rightSide)
    {
        return place(point.source, point.code, rightSide);
    }

    // The size the positions of a picture are given in.
    static QSize referenceSize(int picture);
    // The width a picture is shown at for a height, keeping its drawing's proportions.
    static int widthForHeight(int picture, int height);
    // The point (x, y) of a picture shown at `shown`.
    static QPoint position(const QRect &shown, const Place &place);
    // The file of a picture in the install folder's pictures/.
    static QString pictureName(int picture);
};
