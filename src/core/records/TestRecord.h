#pragma once

#include "Channels.h"

#include <QDateTime>
#include <QString>

#include <array>

// One row of TESTS: a finished measurement of the 24 channels of one client.
struct TestRecord
{
    int codeTest = 0;                          // key from TEST_PROC; 0 while not stored
    QString codeClient;                        // owning client
    QDateTime testDate;                        // moment of saving
    std::array<int, Channels::Count> values{}; // canonical channel order (see Channels)

    // The value of a channel by name ("LLU" .. "RST"); 0 for an unknown name.
    int value(const QString &channel) const
    {
        const int index = Channels::indexOf(channel);
        return index < 0 ? 0 : values[size_t(index)];
    }
};
