#pragma once

// The diagnostic categories of the inquiry questionnaire and the questions each shows:
//   0 observation            indexes 0 .. 16
//   1 hearing & smelling     indexes 18 .. 23
//   2 inquiry                indexes 25 .. Q - 1
//   3 all                    indexes 0 .. Q - 1
// Questions 17 and 24 belong to "all" only. A file with fewer questions shows what it has:
// every range is cut at Q, so a short file gives short (possibly empty) categories.
class InquirerCategories
{
public:
    enum Type { Observation = 0, HearingSmelling = 1, Inquiry = 2, All = 3 };
    static constexpr int Count = 4;

    // Question indexes lo .. hi - 1; empty when lo == hi.
    struct Range
    {
        int lo = 0;
        int hi = 0;
        int size() const { return hi - lo; }
        bool isEmpty() const { return hi <= lo; }
        bool contains(int index) const { return index >= lo && index < hi; }
    };

    static bool isValid(int type) { return type >= 0 && type < Count; }
    // The range of `type` in a file of `questionCount` questions; empty for an unknown type.
    static Range range(int type, int questionCount);
};
