#pragma once

#include "records/DataModule.h"

#include <functional>

// Stores a test of `client` measured at `when`, channel i reading value(i); returns its key, 0
// when it could not be stored.
inline int storeTest(DataModule &data, const QString &client, const QDateTime &when,
                     const std::function<int(int)> &value)
{
    TestRecord test;
    test.codeClient = client;
    test.testDate = when;
    for (int i = 0; i < Channels::Count; ++i)
        test.values[size_t(i)] = value(i);
    return data.saveTest(test) ? test.codeTest : 0;
}
