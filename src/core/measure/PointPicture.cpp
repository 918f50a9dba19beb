#include "measure/PointPicture.h"

#include <QHash>

#include <cmath>

namespace {

struct Picture {
    const char *name;
    int width;
    int height;
};

// The twelve pictures the display chooses and the two spare hand views.
constexpr Picture kPictures[] = {
    {"hand1", 264, 460}, {"hand2", 244, 462}, {"hand3", 244, 464}, {"hand4", 264, 462},
    {"hand5", 223, 462}, {"hand6", 255, 462}, {"foot1", 299, 460}, {"foot2", 542, 459},
    {"foot3", 299, 461}, {"foot4", 504, 459}, {"foot5", 480, 461}, {"foot6", 465, 459},
};

} // namespace

QString PointPicture::nameFor(int col, int row) {
    if (row < 1 || row > 6)
        return QString();
    const char *hands[] = {"hand1", "hand3", "hand5", "hand6"};
    const char *top[] = {"foot1", "foot3", "foot1", "foot3"};
    const char *side[] = {"foot2", "foot4", "foot6", "foot5"};
    const int slot = col == 1 ? 0 : col == 2 ? 1 : col == 4 ? 2 : col == 5 ? 3 : -1;
    if (slot < 0)
        return QString();
    return QLatin1String(row <= 3 ? hands[slot] : row == 4 ? top[slot] : side[slot]);
}

QSize PointPicture::designSize(const QString &name) {
    for (const Picture &p : kPictures) {
        if (name == QLatin1String(p.name))
            return {p.width, p.height};
    }
    return {};
}

const QStringList &PointPicture::names() {
    static const QStringList list = [] {
        QStringList built;
        for (const Picture &p : kPictures)
            built.append(QLatin1String(p.name));
        return built;
    }();
    return list;
}

QRect PointPicture::place(const QSize &panel, const QSize &design) {
    QSize size = design;
    int top = 0;
    if (panel.height() > design.height() + 5) {
        top = (panel.height() - design.height()) / 2;
    } else {
        top = 4;
        size.setHeight(qMax(1, panel.height() - 8));
        size.setWidth(qMax(1, design.width() * size.height() / qMax(1, design.height())));
    }
    return {(panel.width() - size.width()) / 2, top, size.width(), size.height()};
}

QPoint PointPicture::marker(const QRect &picture, const QSize &design, int cx, int cy) {
    const double kx = design.width() > 0 ? double(picture.width()) / design.width() : 1.0;
    const double ky = design.height() > 0 ? double(picture.height()) / design.height() : 1.0;
    return {int(std::trunc(cx * kx + picture.left())), int(std::trunc(cy * ky + picture.top()))};
}
