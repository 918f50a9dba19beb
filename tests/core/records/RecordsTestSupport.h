#pragma once

#include "records/TestRecord.h"
#include "OldBases.h"
#include "SeedBase.h"

#include <QDateTime>
#include <QProcess>
#include <QString>

// Helpers shared by the record tests: bases made with isql-fb (which the build needs anyway to
// make the seed bases) and tests with plain values.
namespace RecordsTestSupport {

using OldBases::runIsql;

inline TestRecord makeTest(const QString &client, const QDateTime &when, int base = 50) {
    TestRecord test;
    test.codeClient = client;
    test.testDate = when;
    for (int i = 0; i < Channels::Count; ++i)
        test.values[size_t(i)] = base + i;
    return test;
}

} // namespace RecordsTestSupport
