#include "OpenPointMarkers.h"

#include <QtGlobal>

#include <array>
#include <cmath>

namespace {
// Point, then picture, y, x with the right side chosen, then picture, y, x for the left side.
struct Row
{
    const char *code;
    int rightPicture, rightY, rightX;
    int leftPicture, leftY, leftX;
};

constexpr std::array<Row, 8> kConfluent = {{
    {"Bl 62", 4, 520, 81, 1, 522, 140},
    {"Si 3", 2, 288, 232, 2, 288, 42},
    {"Gb 41", 4, 528, 104, 1, 528, 117},
    {"Th 5", 2, 257, 234, 2, 256, 41},
    {"Pc 6", 3, 254, 44, 3, 255, 231},
    {"Sp 4", 1, 503, 34, 4, 503, 185},
    {"Ki 6", 1, 487, 59, 4, 487, 162},
    {"Lu 7", 3, 259, 35, 3, 259, 239},
}};

constexpr std::array<Row, 67> kTransport = {{
    {"Lv 2", 3, 535, 101, 3, 535, 168},
    {"Pc 7", 2, 265, 234, 2, 263, 35},
    {"Sp 5", 1, 482, 48, 4, 482, 167},
    {"Li 5", 2, 261, 245, 2, 263, 24},
    {"Gb 40", 4, 514, 83, 1, 514, 132},
    {"Lu 9", 3, 261, 27, 3, 260, 240},
    {"Bl 40", 2, 394, 156, 2, 394, 114},
    {"Lv 3", 3, 522, 106, 3, 522, 162},
    // On the wrist, a finger's breadth above Lu 9.
    {"Lu 8", 3, 252, 33, 3, 252, 236},
    {"Sj 1", 2, 315, 253, 2, 315, 14},
    {"Ki 10", 2, 395, 165, 2, 395, 104},
    {"Gb 38", 4, 491, 81, 1, 492, 135},
    {"Lj 3", 4, 250, 36, 1, 250, 179},
    {"Bl 60", 4, 512, 69, 1, 512, 146},
    {"Gb 34", 4, 407, 88, 1, 407, 127},
    {"Th 3", 2, 283, 237, 2, 283, 31},
    {"Lu 5", 3, 195, 53, 3, 195, 216},
    {"Pc 9", 3, 307, 8, 3, 307, 259},
    {"Gb 44", 4, 533, 127, 1, 533, 89},
    {"Ki 3", 1, 471, 63, 4, 471, 152},
    {"Th 2", 2, 291, 239, 2, 291, 29},
    {"Lv 1", 3, 535, 101, 3, 535, 167},
    {"Ht 8", 3, 277, 37, 3, 277, 232},
    {"Pc 8", 3, 277, 26, 3, 277, 242},
    {"St 1", 3, 39, 123, 3, 39, 146},
    {"St 44", 3, 533, 94, 3, 533, 173},
    {"Ht 9", 2, 309, 245, 2, 309, 23},
    {"Sp 2", 1, 505, 16, 4, 505, 199},
    {"Ht 7", 3, 264, 45, 3, 264, 225},
    // On the index finger of the hand that hangs behind, beside Li 4 on each side.
    {"Li 2", 4, 265, 32, 1, 265, 183},
    {"St 42", 3, 512, 108, 3, 512, 161},
    {"St 43", 3, 522, 100, 3, 522, 169},
    {"Sp 3", 1, 503, 24, 4, 503, 191},
    {"Si 8", 2, 198, 198, 2, 198, 70},
    {"Th 6", 2, 256, 231, 2, 256, 38},
    {"Sp 1", 3, 537, 101, 3, 537, 166},
    {"Ht 3", 1, 128, 17, 4, 129, 200},
    {"Pc 3", 1, 130, 20, 4, 130, 189},
    {"Lj 1", 2, 303, 271, 2, 303, 0},
    {"Bl 66", 4, 535, 114, 1, 536, 100},
    {"St 36", 3, 409, 104, 3, 409, 166},
    {"Th 10", 2, 181, 206, 2, 181, 64},
    {"Lu 11", 3, 275, 0, 3, 275, 270},
    {"Ki 2", 1, 493, 47, 4, 492, 168},
    {"Gb 41", 4, 526, 103, 1, 526, 112},
    {"Bl 67", 4, 537, 120, 1, 537, 94},
    {"Gb 43", 4, 531, 115, 1, 531, 101},
    {"Si 3", 2, 284, 230, 2, 284, 39},
    {"Lu 10", 3, 276, 37, 3, 277, 232},
    {"Lv 4", 1, 481, 49, 4, 481, 168},
    // The inner ankle of each side, where Ki 3 of that side is shown.
    {"Ki 7", 1, 456, 60, 4, 456, 156},
    {"Li 4", 4, 249, 36, 1, 249, 179},
    {"Si 5", 2, 267, 227, 2, 266, 43},
    {"Ht 4", 3, 255, 47, 3, 255, 221},
    {"Sp 9", 2, 408, 156, 2, 408, 113},
    {"St 41", 3, 502, 111, 3, 502, 158},
    // At the outer end of the elbow crease, beyond Lu 5.
    {"Li 11", 3, 193, 54, 3, 194, 224},
    // The sole of the foot whose inner side the picture shows.
    {"Ki 1", 1, 504, 40, 4, 504, 189},
    {"St 45", 3, 535, 93, 3, 535, 174},
    // Transport points the midday-midnight tables open beyond those above.
    {"Si 2", 2, 298, 238, 2, 298, 32},
    {"Si 4", 2, 277, 229, 2, 277, 41},
    {"Th 1", 2, 316, 262, 2, 316, 8},
    {"Bl 65", 4, 537, 107, 1, 537, 110},
    // Between Bl 62 and Bl 65 on the outer edge of the foot, behind the head of the fifth
    // metatarsal; and on the back of the wrist crease, between Th 3 and Th 5.
    {"Bl 64", 4, 535, 97, 1, 535, 120},
    {"Th 4", 2, 268, 235, 2, 268, 37},
    {"Pc 5", 3, 246, 43, 3, 247, 229},
    {"Lv 8", 2, 393, 146, 2, 393, 124},
}};

template<size_t N>
OpenPointMarkers::Place find(const std::array<Row, N> &rows, const QString &code, bool right)
{
    for (const Row &row : rows) {
        if (code == QLatin1String(row.code)) {
            if (right)
                return {row.rightPicture, row.rightX, row.rightY};
            return {row.leftPicture, row.leftX, row.leftY};
        }
    }
    return {};
}
} // namespace

OpenPointMarkers::Place OpenPointMarkers::place(OpenPoint::Source source,
                                                const QString &listedCode, bool rightSide)
{
    const QString code = listedCode.trimmed();
    return source == OpenPoint::Confluent ? find(kConfluent, code, rightSide)
                                          : find(kTransport, code, rightSide);
}

QSize OpenPointMarkers::referenceSize(int picture)
{
    switch (picture) {
    case 1:
    case 4:
        return {229, 553};
    case 2:
        return {282, 551};
    case 3:
        return {279, 554};
    default:
        return {};
    }
}

int OpenPointMarkers::widthForHeight(int picture, int height)
{
    // The proportions of the four drawings.
    int across = 0;
    switch (picture) {
    case 1:
        across = 204;
        break;
    case 4:
        across = 211;
        break;
    case 2:
    case 3:
        across = 250;
        break;
    default:
        return 0;
    }
    return int(std::lround(double(height) * across / 489.0));
}

QPoint OpenPointMarkers::position(const QRect &shown, const Place &place)
{
    const QSize reference = referenceSize(place.picture);
    if (reference.isEmpty())
        return shown.topLeft();
    return {shown.left() + shown.width() * place.x / reference.width(),
            shown.top() + shown.height() * place.y / reference.height()};
}

QString OpenPointMarkers::pictureName(int picture)
{
    return picture >= 1 && picture <= Pictures ? QStringLiteral("openbody%1").arg(picture)
                                                : QString();
}
