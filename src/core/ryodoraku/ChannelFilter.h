#pragma once

#include <optional>

// The three filters of the channel cards, each 1, 0 or 2 (= both/all): side (1 left, 0 right),
// group (1 yin, 0 yang) and conduction (1 high, 0 low). A filter whose two toggles are both
// off has no value, and then no channel is shown at all.
struct ChannelFilter
{
    // The toggle labels of the view: on while they show the "on" colour.
    struct Toggles
    {
        bool leftOrgan = true;
        bool rightOrgan = true;
        bool inOrgan = true;
        bool yanOrgan = true;
        bool hightCond = true;
        bool lawCond = true;
        bool allCond = false;
    };

    std::optional<int> side = 2;
    std::optional<int> group = 2;
    std::optional<int> conduction = 2;
    // Largest deviation first while HightCond is on, most negative first otherwise.
    bool descending = true;

    bool isComplete() const { return side && group && conduction; }

    // 1 when only the first toggle is on, 0 when only the second, 2 when both, none otherwise.
    static std::optional<int> fromPair(bool first, bool second)
    {
        if (first && second)
            return 2;
        if (first)
            return 1;
        if (second)
            return 0;
        return std::nullopt;
    }
    static ChannelFilter fromToggles(const Toggles &t)
    {
        ChannelFilter f;
        f.side = fromPair(t.leftOrgan, t.rightOrgan);
        f.group = fromPair(t.inOrgan, t.yanOrgan);
        f.conduction = t.allCond ? std::optional<int>(2) : fromPair(t.hightCond, t.lawCond);
        f.descending = t.hightCond;
        return f;
    }
};
