#pragma once

#include "records/Channels.h"
#include "records/DataModule.h"
#include "records/TestRecord.h"

#include <QDateTime>
#include <QFile>
#include <QSqlQuery>
#include <QString>
#include <QTextStream>

#include <algorithm>
#include <vector>

// What the benchmarks share: one line of figures per measurement, and a plausible test.
namespace BenchReport {

// "<what> over N runs: median x ms, 90th percentile y ms".
inline void print(const QString &what, std::vector<double> ms, int decimals = 3)
{
    if (ms.empty())
        return;
    std::sort(ms.begin(), ms.end());
    QTextStream(stdout) << what << " over " << ms.size() << " runs: median "
                        << QString::number(ms[ms.size() / 2], 'f', decimals)
                        << " ms, 90th percentile "
                        << QString::number(ms[ms.size() * 9 / 10], 'f', decimals) << " ms\n";
}

// A test of client Q71 whose values spread around the corridor, different for each seed.
inline TestRecord sampleTest(int seed)
{
    TestRecord test;
    test.codeClient = QStringLiteral("Q71");
    test.testDate = QDateTime(QDate(2024, 5, 1 + seed), QTime(10, 0));
    for (int i = 0; i < Channels::Count; ++i)
        test.values[size_t(i)] = 45 + (i * 37 + seed * 11) % 60;
    return test;
}

// Opens a writable copy of the install folder's seed base in `folder`; false (said on stderr)
// when it cannot be opened.
inline bool openSeedCopy(const QString &folder, DataModule &data)
{
    const QString base = folder + QStringLiteral("/BASE.fdb");
    QFile::copy(QStringLiteral(VANDREL_BENCH_INSTALL_DIR) + QStringLiteral("/Q7/BASE.fdb"), base);
    QFile(base).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    QString error;
    if (data.open(base, &error))
        return true;
    QTextStream(stderr) << error << '\n';
    return false;
}

// The number of cards of a base, -1 (said on stderr) when it cannot be opened.
inline int clientCount(const QString &base)
{
    DataModule data;
    QString error;
    if (!data.open(base, &error)) {
        QTextStream(stderr) << "no base at " << base << ": " << error << '\n';
        return -1;
    }
    QSqlQuery count(data.database());
    if (!count.exec(QStringLiteral("SELECT COUNT(*) FROM CLIENTS")) || !count.next())
        return -1;
    return count.value(0).toInt();
}

} // namespace BenchReport
