#pragma once

#include "records/TestRecord.h"
#include "TestEnvironment.h"

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>

// Helpers shared by the record tests: fresh copies of the seed base and old-style bases made
// with isql-fb.
namespace RecordsTestSupport {

// A private copy of the seed base of the install folder, writable.
inline QString copySeedBase(const TestEnvironment &env,
                            const QString &name = QStringLiteral("BASE.fdb"),
                            const QString &seed = QStringLiteral("/Q7/BASE.fdb"))
{
    const QString to = env.scratch(QStringLiteral("bases")) + QLatin1Char('/') + name;
    QFile::remove(to);
    if (!QFile::copy(TestEnvironment::installDir() + seed, to))
        return QString();
    QFile(to).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return to;
}

inline QString isql()
{
    return QStandardPaths::findExecutable(QStringLiteral("isql-fb"));
}

// Runs an isql-fb script with the embedded engine; returns its error output, empty on success.
inline QString runIsql(const QString &script, const QString &database = QString())
{
    QProcess process;
    QStringList args = {QStringLiteral("-q"),   QStringLiteral("-b"),    QStringLiteral("-ch"),
                        QStringLiteral("UTF8"), QStringLiteral("-user"), QStringLiteral("SYSDBA")};
    if (!database.isEmpty())
        args.append(database);
    process.start(isql(), args);
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
