#include "BodyMarkGeometry.h"

#include <algorithm>

BodyMarkGeometry::Picture BodyMarkGeometry::pictureOf(const QString &image)
{
    const QString i = image.trimmed().toLower();
    if (i == QLatin1String("f"))
        return Picture::Front;
    if (i == QLatin1String("s"))
        return Picture::Side;
    return Picture::Back;
}

QSize BodyMarkGeometry::referenceSize(Picture picture)
{
    switch (picture) {
    case Picture::Front:
        return {281, ReferenceHeight};
    case Picture::Side:
        return {232, ReferenceHeight};
    case Picture::Back:
        break;
    }
    return {285, ReferenceHeight};
}

QRect BodyMarkGeometry::fit(const QSize &area, Picture picture)
{
    if (area.isEmpty())
        return QRect(QPoint(0, 0), area);
    const QSize size = referenceSize(picture).scaled(area, Qt::KeepAspectRatio);
    return QRect(QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2),
                 size);
}

QPoint BodyMarkGeometry::dotAt(const QRect &shown, Picture picture, int x, int y,
                               int correction)
{
    const QSize ref = referenceSize(picture);
    const double sx = double(shown.width()) / ref.width();
    const double sy = double(shown.height()) / ref.height();
    // Positions come from catalogue files: one far outside the picture is drawn off it, never
    // wrapped round by an overflowing sum.
    const auto place = [](int origin, int position, int correction, double scale) {
        const double at = origin + (double(position) - correction) * scale;
        return int(std::clamp(at, -1.0e6, 1.0e6));
    };
    return {place(shown.left(), x, correction, sx), place(shown.top(), y, correction, sy)};
}

QColor BodyMarkGeometry::colorOf(int value)
{
    return QColor(value & 0xff, (value >> 8) & 0xff, (value >> 16) & 0xff);
}
