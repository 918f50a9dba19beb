#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The per-channel frequency table of the frequency sub-mode: 24 texts in frequency order
// (LE1..LE12 for the left channels, RE1..RE12 for the right), stored in
// FREQ_TREATMENT.TREATMENT as each text followed by "&".
class FreqAssignment
{
public:
    static constexpr int Channels = 24;
    static constexpr double MaxHz = 10000.0;

    // "10&12.5&...&" (24 items). Missing items are written empty.
    static QString toText(const QStringList &frequencies);
    // The 24 texts of a stored assignment; none when the text does not hold 24 items.
    static std::optional<QStringList> fromText(const QString &text);

    // A frequency as the practitioner typed it: a decimal number 0..10000 Hz, with "." or ","
    // as decimal sign. None, with a message for the user in `error`, for anything else.
    static std::optional<double> parseHz(const QString &text, QString *error = nullptr);
};
