#include "measure/Correction.h"

#include "app/AppPaths.h"
#include "common/IniFile.h"

#include <QString>

#include <algorithm>

namespace {
const QString kSection = QStringLiteral("correct");
} // namespace

int Correction::correct(int x) const {
    switch (mode) {
    case Mode::Percent:
        // Integer arithmetic truncates toward zero, as the rule asks.
        return x + percent * x / 100;
    case Mode::Points:
        return x + points;
    case Mode::Off:
        break;
    }
    return x;
}

Correction Correction::load(const IniFile &options) {
    Correction c;
    c.percent = std::clamp(options.readInteger(kSection, QStringLiteral("cal1"), 0), MinPercent,
                           MaxPercent);
    c.points = std::clamp(options.readInteger(kSection, QStringLiteral("cal2"), 0), MinPoints,
                          MaxPoints);
    const QString on = options.readString(kSection, QStringLiteral("cal"));
    if (on == QLatin1String("1"))
        c.mode = Mode::Percent;
    else if (on == QLatin1String("2"))
        c.mode = Mode::Points;
    return c;
}

void Correction::save(IniFile &options) const {
    options.writeString(kSection, QStringLiteral("cal1"), QString::number(percent));
    options.writeString(kSection, QStringLiteral("cal2"), QString::number(points));
    options.writeString(kSection, QStringLiteral("cal"),
                        mode == Mode::Percent  ? QStringLiteral("1")
                        : mode == Mode::Points ? QStringLiteral("2")
                                               : QStringLiteral("0"));
}

Correction Correction::loadStored() {
    return load(IniFile(AppPaths::dataFile(QStringLiteral("Options.ini"))));
}
