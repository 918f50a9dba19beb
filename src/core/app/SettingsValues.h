#pragma once

#include "MeasuringOrder.h"

#include <QString>

#include <array>
#include <optional>

class IniFile;

// The values of the settings page as Options.ini keeps them: meridian names ([meridian] 1-12),
// the measuring order ([Order]), the corridor percentage ([medium] val), whether the start
// password is asked ([password] do), the test options ([test] sound, [test] info) and the
// treatment note ([treatment] info). The password itself is StartPassword's.
struct SettingsValues
{
    static constexpr int MinPercent = 1;
    static constexpr int MaxPercent = 99;
    static constexpr int DefaultPercent = 1;

    std::array<QString, MeasuringOrder::Rows> meridianNames;
    MeasuringOrder order;
    int middlePercent = DefaultPercent;
    bool askPassword = false;
    bool soundSignal = false;
    QString testInfo;
    QString treatmentInfo;
    // The value for [password] val when it is to be written (a new password, or a stored one
    // converted to its hash); left alone otherwise.
    std::optional<QString> passwordValue;

    static SettingsValues load(const IniFile &options);
    // The names to show, row by row: the one the practitioner typed, else the interface
    // language's name for that meridian.
    std::array<QString, MeasuringOrder::Rows> shownMeridianNames() const;
    // A percentage the corridor can use.
    static bool isValidPercent(int percent)
    {
        return percent >= MinPercent && percent <= MaxPercent;
    }

    struct SaveResult
    {
        bool orderWritten = false;
        bool percentWritten = false;
    };
    // Writes the values into `options` (in memory) in this order: names, order, corridor,
    // password, ask-at-start, sound, test info, treatment info. An order that fails its check
    // is not written and the stored one stays; likewise a percentage outside 1-99. Everything
    // else is written regardless.
    SaveResult save(IniFile &options) const;
};
