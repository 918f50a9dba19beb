#pragma once

// The conduction class of one channel value against the corridor of its test. The codes are
// shared with other features (recommendations, reports); 2 is no class: in a channel filter it
// lets every class pass, which is why normal is 3.
enum class ConductionClass : int {
    Low = 0,
    High = 1,
    Normal = 3,
};

// A filter value that lets every side, group or class through.
inline constexpr int AllPass = 2;

// True when `filter` is AllPass or equals `code`.
inline constexpr bool passes(int filter, int code)
{
    return filter == AllPass || filter == code;
}
