#pragma once

#include <QList>
#include <QString>

#include <optional>

class IniFile;

// The practitioner's rule table for the output power of the frequency player: each rule
// gives a percent of power for the frequencies from..to Hz (both included). The first rule
// in list order that covers a frequency decides; a frequency no rule covers gets 0.
// Kept in Options.ini, section [Algoritm]: count=N, then 1..N = from#to#percent#.
class PowerRules
{
public:
    struct Rule
    {
        int from = 0;
        int to = 0;
        int percent = 0;
        bool operator==(const Rule &other) const = default;
    };
    enum class Problem { None, FromNotBelowTo, PercentOutOfRange };

    static Problem check(const Rule &rule);
    // "1-10 Hz=30 %"
    static QString ruleText(const Rule &rule);

    const QList<Rule> &rules() const { return m_rules; }
    // Appends a sound rule; a rule that fails check() is refused and nothing changes.
    Problem add(const Rule &rule);
    void remove(int index);

    // The percent of the first rule covering `hz`; nothing when none covers it.
    std::optional<int> coveringPercent(double hz) const;
    int powerFor(double hz) const { return coveringPercent(hz).value_or(0); }

    // Rules that do not read as three integers or fail check() are left out.
    static PowerRules load(const IniFile &options);
    // Writes the table into `options` (in memory), dropping keys of rules that are gone.
    void save(IniFile &options) const;

private:
    QList<Rule> m_rules;
};
