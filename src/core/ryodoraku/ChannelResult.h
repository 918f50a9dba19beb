#pragma once

#include "records/Channels.h"

#include <QString>

#include <array>

// One slot of the evaluated channel list: a channel that passed the filters, or an empty slot
// (empty text) that holds none.
struct ChannelResult
{
    QString text;        // "value/mean", e.g. "62/55"; empty for an empty slot
    int deviation = 0;   // percent from the mean, truncated toward zero
    int conductionClass = 0; // ConductionClass code
    int channel = 0;     // 0..23, catalogue section channel + 1
    int value = 0;       // the channel's value

    bool filled() const { return !text.isEmpty(); }
};

using ChannelResults = std::array<ChannelResult, Channels::Count>;
