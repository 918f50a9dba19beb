#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

// Where the current point is shown: which body picture a grid cell uses, where the picture
// sits in its panel, and where the point marker goes on it. The catalogue's cx, cy are the
// marker's top-left corner in the picture's design size.
class PointPicture {
public:
    // The picture of a grid cell (column 1, 2, 4, 5; row 1-6): hands for rows 1-3, the foot
    // from above for row 4, the foot from its inner (columns 1, 2) or outer side (columns 4, 5)
    // for rows 5-6. Empty for any other cell.
    static QString nameFor(int col, int row);
    // The size a picture is drawn for; the catalogue positions are given in it.
    static QSize designSize(const QString &name);
    // Every picture of the panel, the two spare hand views included.
    static const QStringList &names();

    // The picture's place in a panel: centred across; centred down when the panel is more
    // than 5 pixels taller than the picture, else 4 pixels from the top and 8 pixels shorter
    // than the panel, narrowed in proportion.
    static QRect place(const QSize &panel, const QSize &design);
    // The marker's top-left corner for catalogue position (cx, cy) on a picture drawn at
    // `picture` (scaled from `design`).
    static QPoint marker(const QRect &picture, const QSize &design, int cx, int cy);
};
