#pragma once

#include "records/TestRecord.h"
#include "SeedBase.h"

#include <QDateTime>
#include <QProcess>
#include <QString>

// Helpers shared by the record tests: bases made with isql-fb (which the build needs anyway to
// make the seed bases) and tests with plain values.
namespace RecordsTestSupport {

// Runs an isql-fb script with the embedded engine; returns its error output, empty on success.
inline QString runIsql(const QString &script, const QString &database = QString()) {
    QProcess process;
    QStringList args = QStringLiteral("-q -b -ch UTF8 -user SYSDBA").split(QLatin1Char(' '));
    if (!database.isEmpty())
        args.append(database);
    process.start("isql-fb", args);
    if (!process.waitForStarted())
        return "isql-fb did not start";
    process.write(script.toUtf8());
    process.closeWriteChannel();
    process.waitForFinished(60000);
    const QString err = QString::fromUtf8(process.readAllStandardError());
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return err.isEmpty() ? "isql-fb failed" : err;
    return QString();
}

inline TestRecord makeTest(const QString &client, const QDateTime &when, int base = 50) {
    TestRecord test;
    test.codeClient = client;
    test.testDate = when;
    for (int i = 0; i < Channels::Count; ++i)
        test.values[size_t(i)] = base + i;
    return test;
}

} // namespace RecordsTestSupport
