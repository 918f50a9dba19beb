#pragma once

#include "records/TestRecord.h"
#include "TestEnvironment.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>

// Helpers shared by the record tests: writable copies of the seed bases and bases made with
// isql-fb (which the build needs anyway to make the seed bases).
namespace RecordsTestSupport {

inline QString copySeedBase(const TestEnvironment &env,
                            const QString &seed = QStringLiteral("/Q7/BASE.fdb"))
{
    const QString to = env.scratch(QStringLiteral("bases")) + QLatin1Char('/')
                       + QFileInfo(seed).fileName();
    QFile::remove(to);
    if (!QFile::copy(TestEnvironment::installDir() + seed, to))
        return QString();
    QFile(to).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return to;
}

// Runs an isql-fb script with the embedded engine; returns its error output, empty on success.
inline QString runIsql(const QString &script, const QString &database = QString())
{
    QProcess process;
    QStringList args = QStringLiteral("-q -b -ch UTF8 -user SYSDBA").split(QLatin1Char(' '));
    if (!database.isEmpty())
        args.append(database);
    process.start(QStringLiteral("isql-fb"), args);
    if (!process.waitForStarted())
        return QStringLiteral("isql-fb did not start");
    process.write(script.toUtf8());
    process.closeWriteChannel();
    process.waitForFinished(60000);
    const QString err = QString::fromUtf8(process.readAllStandardError());
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return err.isEmpty() ? QStringLiteral("isql-fb failed") : err;
    return QString();
}

inline TestRecord makeTest(const QString &client, const QDateTime &when, int base = 50)
{
    TestRecord test;
    test.codeClient = client;
    test.testDate = when;
    for (int i = 0; i < Channels::Count; ++i)
        test.values[size_t(i)] = base + i;
    return test;
}

} // namespace RecordsTestSupport
