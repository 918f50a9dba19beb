#pragma once

class IniFile;

// The shift a practitioner applies to every measured value to align one device with another:
// a percentage of the value or a fixed number of points, or none. Options.ini keeps it in
// [correct]: cal1 the percentage, cal2 the points, cal "1" (percent), "2" (points) or anything
// else (off).
class Correction {
public:
    enum class Mode { Off, Percent, Points };
    static constexpr int MinPercent = 0;
    static constexpr int MaxPercent = 100;
    static constexpr int MinPoints = -100;
    static constexpr int MaxPoints = 100;

    Mode mode = Mode::Off;
    int percent = 0; // 0-100
    int points = 0;  // -100-100

    // x plus the adjustment: truncate(percent * x / 100) or the points; x itself when off. The
    // result may leave 1-200; the completeness check refuses such a value.
    int correct(int x) const;

    // Values outside the ranges are held at the nearest limit, as the spin edits would.
    static Correction load(const IniFile &options);
    void save(IniFile &options) const;
    // The correction stored in the data folder's Options.ini.
    static Correction loadStored();

    bool operator==(const Correction &) const = default;
};
