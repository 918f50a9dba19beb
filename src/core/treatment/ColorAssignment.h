#pragma once

#include <QColor>
#include <QString>

#include <array>
#include <optional>

// The two colour slots of each of the 24 channels of the colour sub-mode, in colour order
// (TherapyChannels::colorOrder). A slot holds a colour text "R/G/B/" with decimal components
// 0..255; an unset slot is black, "0/0/0/". Stored in COLOR_TREATMENT.TREATMENT as the 48
// texts one after another (channel by channel, first slot then second).
//
// Slots are also numbered as the play order knows them: tag 1..48, odd tags first slots,
// even tags second slots (tag 2c+1 and 2c+2 for colour position c).
class ColorAssignment
{
public:
    static constexpr int Channels = 24;
    static constexpr int Slots = 48;

    static QString colorText(const QColor &color);
    // The colour of a text "R/G/B/"; none for anything else (a component outside 0..255,
    // a missing "/", letters).
    static std::optional<QColor> parseColorText(const QString &text);

    QColor slot(int tag) const;     // tag 1..48; black outside
    void setSlot(int tag, const QColor &color);
    bool isSet(int tag) const;      // not black
    bool hasAnySet() const;         // a programme to play
    void clear();

    QString toText() const;
    // Reads a stored text. A text that is not 48 colour texts leaves every slot black and
    // returns false (the caller tells the user the stored assignment was unreadable).
    bool fromText(const QString &text);

    // The play order. The first item for a selected tag (0: none selected): with both colours
    // played, the selected slot itself; otherwise the first slot of its channel.
    static int firstTag(int selectedTag, bool twoColors);
    // The item after `tag`; 0 after the last.
    static int nextTag(int tag, bool twoColors);

    bool operator==(const ColorAssignment &other) const { return m_slots == other.m_slots; }
    bool operator!=(const ColorAssignment &other) const { return !(*this == other); }

private:
    std::array<QRgb, Slots> m_slots{};
};
