// Backing up the practitioner's data: a backup made while the program holds the base open is a
// complete, openable copy; a backup that fails leaves nothing behind; backups never overwrite
// one another.
#include "SeedBase.h"
#include "TestEnvironment.h"
#include "app/AppPaths.h"
#include "app/BaseFacts.h"
#include "app/DataBackup.h"
#include "app/DataFolderSetup.h"
#include "common/Clock.h"
#include "common/IniFile.h"
#include "records/ClientSync.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <unistd.h>

namespace {

// The data folder's own base, opened as the program opens it, with two clients and three tests.
void openSeededBase(DataModule &data)
{
    QString error;
    QVERIFY2(data.open(AppPaths::dataFile(QStringLiteral("BASE.fdb")), &error), qPrintable(error));
    const QString first = addClient(data, QStringLiteral("Anna"), QStringLiteral("Berg"));
    const QString second = addClient(data, QStringLiteral("Олег"), QStringLiteral("Иванов"));
    QVERIFY(!first.isEmpty() && !second.isEmpty());
    int minute = 0;
    for (const QString &client : {first, first, second}) {
        TestRecord test;
        test.codeClient = client;
        test.testDate = QDateTime(QDate(2026, 3, 2), QTime(10, minute++));
        test.values.fill(50);
        QVERIFY2(data.saveTest(test, &error), qPrintable(error));
    }
}

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

} // namespace

class TestDataBackup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { Clock::setNow(QDateTime()); }
    void backupOfOpenBaseIsCompleteAndOpens();
    void sharedBaseOnlyWhenItIsTheLocalDefault_data();
    void sharedBaseOnlyWhenItIsTheLocalDefault();
    void failureLeavesNothingBehind_data();
    void failureLeavesNothingBehind();
    void backupsInOneMinuteDoNotOverwrite();
};

void TestDataBackup::backupOfOpenBaseIsCompleteAndOpens()
{
    TestEnvironment env;
    DataFolderSetup::run();
    DataModule data;
    openSeededBase(data);
    BaseFacts::Counts before;
    QVERIFY(BaseFacts::count(data.database(), &before));
    QCOMPARE(before.tests, 3);
    Clock::setNow(QDateTime(QDate(2026, 3, 4), QTime(14, 30, 12)));

    const QString target = env.scratch(QStringLiteral("usb stick"));
    QStringList steps;
    DataBackup backup(&data);
    backup.setProgress([&steps](const QString &step) { steps.append(step); });
    const DataBackup::Result result = backup.run(target);

    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(result.folder, target + QStringLiteral("/Vandrel backup 2026-03-04 14-30"));
    QCOMPARE(entriesOf(target), QStringList{QStringLiteral("Vandrel backup 2026-03-04 14-30")});
    for (const QString &file : {QStringLiteral("BASE.fdb"), QStringLiteral("Options.ini"),
                                QStringLiteral("Remember.ini"), QStringLiteral("languages/English.lang"),
                                QStringLiteral("languages/Russian.lang")})
        QVERIFY2(QFileInfo(result.folder + QLatin1Char('/') + file).isFile(), qPrintable(file));
    BaseFacts::Counts copied;
    QString error;
    QVERIFY2(BaseFacts::countFile(result.folder + QStringLiteral("/BASE.fdb"), &copied, &error),
             qPrintable(error));
    QCOMPARE(copied, before);
    QCOMPARE(result.counts, before);
    QVERIFY(!steps.isEmpty());

    // The program goes on with its base, and knows the backup.
    QVERIFY(result.reopenError.isEmpty());
    QVERIFY(data.isOpen());
    BaseFacts::Counts after;
    QVERIFY(BaseFacts::count(data.database(), &after));
    QCOMPARE(after, before);
    const DataBackup::Last last = DataBackup::last();
    QCOMPARE(last.folder, result.folder);
    QCOMPARE(last.time, QDateTime(QDate(2026, 3, 4), QTime(14, 30)));
}

void TestDataBackup::sharedBaseOnlyWhenItIsTheLocalDefault_data()
{
    QTest::addColumn<QString>("configured");
    QTest::addColumn<bool>("copied");
    QTest::newRow("default file") << QString() << true;
    QTest::newRow("server") << QStringLiteral("clinic-server/3050:/srv/Uniform.fdb") << false;
    QTest::newRow("file elsewhere") << QStringLiteral("/mnt/clinic/Uniform.fdb") << false;
}

void TestDataBackup::sharedBaseOnlyWhenItIsTheLocalDefault()
{
    QFETCH(QString, configured);
    QFETCH(bool, copied);
    TestEnvironment env;
    DataFolderSetup::run();
    QDir().mkpath(QFileInfo(ClientSync::defaultSharedPath()).absolutePath());
    QVERIFY(QFile::copy(ClientSync::seedPath(), ClientSync::defaultSharedPath()));
    IniFile options(AppPaths::dataFile(QStringLiteral("Options.ini")));
    ClientSync::writeTarget(options, {configured});
    QVERIFY(options.save());

    const DataBackup::Result result = DataBackup().run(env.scratch(QStringLiteral("target")));
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(QFileInfo::exists(result.folder + QStringLiteral("/Uniform Base/Uniform.fdb")), copied);
}

void TestDataBackup::failureLeavesNothingBehind_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("named"); // what the message must name
    QTest::newRow("folder missing") << QStringLiteral("missing") << QStringLiteral("gone");
    QTest::newRow("folder not writable") << QStringLiteral("read-only") << QString();
    QTest::newRow("file cannot be read") << QStringLiteral("unreadable") << QStringLiteral("Remember.ini");
}

void TestDataBackup::failureLeavesNothingBehind()
{
    QFETCH(QString, failure);
    QFETCH(QString, named);
    TestEnvironment env;
    DataFolderSetup::run();
    DataModule data;
    openSeededBase(data);

    QString target = env.scratch(QStringLiteral("target"));
    if (failure == QLatin1String("missing")) {
        target += QStringLiteral("/gone");
    } else if (failure == QLatin1String("read-only")) {
        // Permissions do not stop the superuser; a folder of the kernel's does.
        if (geteuid() == 0)
            target = QStringLiteral("/proc");
        else
            QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::ExeOwner));
        named = target;
    } else {
        // Remember.ini comes after the base and Options.ini: the copy fails half-way.
        const QString remember = AppPaths::dataFile(QStringLiteral("Remember.ini"));
        QVERIFY(QFile::remove(remember));
        QVERIFY(QDir().mkpath(remember));
    }
    const QStringList before = QFileInfo(target).isDir() ? entriesOf(target) : QStringList();

    const DataBackup::Result result = DataBackup(&data).run(target);
    if (failure == QLatin1String("read-only") && geteuid() != 0)
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QVERIFY(!result.ok);
    QVERIFY(result.folder.isEmpty());
    QVERIFY2(result.error.contains(named), qPrintable(result.error));
    if (QFileInfo(target).isDir())
        QCOMPARE(entriesOf(target), before);
    QVERIFY(data.isOpen());
    QVERIFY(!DataBackup::last().isValid());
}

void TestDataBackup::backupsInOneMinuteDoNotOverwrite()
{
    TestEnvironment env;
    DataFolderSetup::run();
    const QString target = env.scratch(QStringLiteral("target"));
    Clock::setNow(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 1)));
    const DataBackup::Result first = DataBackup().run(target);
    Clock::setNow(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 40)));
    const DataBackup::Result second = DataBackup().run(target);

    QVERIFY2(first.ok && second.ok, qPrintable(first.error + second.error));
    QCOMPARE(QFileInfo(first.folder).fileName(), QStringLiteral("Vandrel backup 2026-12-31 23-59"));
    QCOMPARE(QFileInfo(second.folder).fileName(), QStringLiteral("Vandrel backup 2026-12-31 23-59 (2)"));
    QVERIFY(QFileInfo(first.folder + QStringLiteral("/BASE.fdb")).isFile());
    QVERIFY(QFileInfo(second.folder + QStringLiteral("/BASE.fdb")).isFile());
}

QTEST_GUILESS_MAIN(TestDataBackup)
#include "tst_data_backup.moc"
