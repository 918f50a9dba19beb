// The program's own backups: a backup made while the base is open and being written holds a
// consistent base with everything committed before it started; rotation keeps exactly the
// daily and weekly backups and never touches a folder that is not ours; a backup restores into
// a fresh profile, and a damaged one is reported and changes nothing.
#include "app/AppPaths.h"
#include "app/AutoBackup.h"
#include "app/BackupRestore.h"
#include "app/DataFolderSetup.h"
#include "common/Clock.h"
#include "Damage.h"
#include "records/ClientSync.h"
#include "SeedBase.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QThread>
#include <QtTest>

#include <atomic>

namespace {

TestRecord testOf(const QString &client, int minute)
{
    return TestRecord{
        0, client, QDateTime(QDate(2026, 2, 1), QTime(0, 0)).addSecs(60 * minute), {}};
}

// Another connection that goes on storing tests, each committed on its own.
class Writer : public QThread
{
public:
    Writer(const QString &path, const QString &client)
        : m_path(path)
        , m_client(client)
    {}
    std::atomic<int> committed{0};
    std::atomic<bool> stop{false};
    QString error;

protected:
    void run() override
    {
        DataModule data;
        if (!data.open(m_path, &error))
            return;
        for (int i = 0; !stop; ++i) {
            TestRecord test = testOf(m_client, 1000 + i);
            if (!data.saveTest(test, &error))
                return;
            ++committed;
        }
    }

private:
    QString m_path, m_client;
};

// Backups of 60 days in a row, two a day, with their manifests (no base inside: rotation
// looks at the manifests alone).
QStringList makeSixtyDays(const QString &folder, const QDate &first)
{
    QStringList made;
    for (int day = 0; day < 60; ++day) {
        for (int hour : {9, 18}) {
            BackupStore::Entry entry;
            entry.time = QDateTime(first.addDays(day), QTime(hour, 0));
            entry.baseFile = "BASE.fbk";
            entry.verified = true;
            const QString path =
                folder + "/Vandrel backup " + entry.time.toString("yyyy-MM-dd HH-mm");
            QDir().mkpath(path);
            BackupStore::writeManifest(path, entry);
            made << path;
        }
    }
    return made;
}

} // namespace

class TestAutoBackup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (!AutoBackup::available())
            QSKIP("gbak is not installed (firebird3.0-utils)");
    }
    void cleanup() { Clock::setNow(QDateTime()); }

    void backupWhileBaseIsWritten()
    {
        TestEnvironment env;
        DataFolderSetup::run();
        DataModule data;
        QString error;
        const QString basePath = AppPaths::dataFile("BASE.fdb");
        QVERIFY2(data.open(basePath, &error), qPrintable(error));
        const QString client = addClient(data, "Anna", "Berg");
        for (int i = 0; i < 20; ++i) {
            TestRecord test = testOf(client, i);
            QVERIFY2(data.saveTest(test, &error), qPrintable(error));
        }

        // The shared base of this machine goes into the backup too.
        QDir().mkpath(QFileInfo(ClientSync::defaultSharedPath()).absolutePath());
        QVERIFY(QFile::copy(ClientSync::seedPath(), ClientSync::defaultSharedPath()));

        Writer writer(basePath, client);
        writer.start();
        QTRY_VERIFY_WITH_TIMEOUT(writer.committed >= 5 || writer.isFinished(), 20000);
        const int committedBefore = 20 + writer.committed;
        const QString folder = env.scratch("backups");
        const AutoBackup::Result result = AutoBackup(basePath, folder).run();
        const int committedAfter = 20 + writer.committed;
        writer.stop = true;
        writer.wait();
        QVERIFY2(writer.error.isEmpty(), qPrintable(writer.error));
        QVERIFY2(result.ok, qPrintable(result.error));
        QVERIFY(result.entry.verified);
        QVERIFY(QFileInfo(result.entry.folder + "/Uniform Base/Uniform.fbk").isFile());

        // The backup restores to a base that opens and holds every test committed before it.
        const QList<BackupStore::Entry> listed = BackupStore::list(folder);
        QCOMPARE(listed.size(), 1);
        QCOMPARE(listed.first().counts, result.entry.counts);
        const BackupRestore::Result restored =
            BackupRestore::prepare(listed.first(), env.scratch("r") + "/BASE.fdb");
        QVERIFY2(restored.ok, qPrintable(restored.error));
        QCOMPARE(restored.counts.clients, 1);
        QVERIFY2(restored.counts.tests >= committedBefore
                     && restored.counts.tests <= committedAfter,
                 qPrintable(QStringLiteral("%1 <= %2 <= %3")
                                .arg(committedBefore)
                                .arg(restored.counts.tests)
                                .arg(committedAfter)));
        DataModule copy;
        QVERIFY2(copy.open(restored.prepared, &error), qPrintable(error));
        QVERIFY(copy.testsOfClient(client).size() == restored.counts.tests);

        // The program's own connection went on working throughout.
        TestRecord later = testOf(client, 5000);
        QVERIFY2(data.saveTest(later, &error), qPrintable(error));
    }

    // A backup cancelled (at the close, say) or one whose verification fails leaves nothing in
    // the backup folder and is never listed.
    void cancelledOrUnverifiedLeavesNothing_data()
    {
        QTest::addColumn<int>("cancelAt"); // percent reached when cancelled; -1: gbak fails
        QTest::newRow("cancelled while backing up") << 0;
        QTest::newRow("cancelled while verifying") << 50;
        QTest::newRow("verification fails") << -1;
    }
    void cancelledOrUnverifiedLeavesNothing()
    {
        QFETCH(int, cancelAt);
        TestEnvironment env;
        DataFolderSetup::run();
        const QString folder = env.scratch("backups");
        AutoBackup job(AppPaths::dataFile("BASE.fdb"), folder);
        bool cancel = false;
        job.setProgress([&](const QString &, int percent) {
            cancel = cancel || (cancelAt >= 0 && percent >= cancelAt);
        });
        job.setCancelled([&] { return cancel; });
        if (cancelAt < 0)
            job.setGbakProgram("/bin/false");
        const AutoBackup::Result result = job.run();
        QVERIFY(!result.ok);
        QCOMPARE(result.cancelled, cancelAt >= 0);
        QVERIFY(!result.error.isEmpty());
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());
        QVERIFY(BackupStore::list(folder).isEmpty());
    }

    void rotationOverSixtyDays()
    {
        TestEnvironment env;
        const QString folder = env.scratch("backups");
        // 2026-01-05 is a Monday; the last day, 2026-03-05, a Thursday.
        const QStringList made = makeSixtyDays(folder, QDate(2026, 1, 5));
        const QStringList foreign{"Holiday photos", "Vandrel backup 2025-01-01 10-00",
                                  "Vandrel backup x"};
        for (const QString &name : foreign)
            QVERIFY(QDir().mkpath(folder + '/' + name));
        QFile(folder + "/notes.txt").open(QIODevice::WriteOnly);

        // The oldest one stands for the backup just made: it stays too.
        const QString justMade = made.first();
        QString error;
        BackupStore::rotate(folder, {justMade}, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));

        QStringList expected = foreign;
        expected << "Vandrel backup 2026-01-05 09-00"
                 << "Vandrel backup 2026-03-05 09-00";
        // The newest of each of the 14 last days, and of the 8 last ISO weeks (Sundays).
        for (QDate day(2026, 2, 20); day <= QDate(2026, 3, 5); day = day.addDays(1))
            expected << "Vandrel backup " + day.toString("yyyy-MM-dd") + " 18-00";
        for (const char *sunday :
             {"2026-01-18", "2026-01-25", "2026-02-01", "2026-02-08", "2026-02-15"})
            expected << QStringLiteral("Vandrel backup %1 18-00").arg(sunday);
        expected.sort();
        QCOMPARE(QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name), expected);
        QVERIFY(QFileInfo::exists(folder + "/notes.txt"));

        // A second rotation finds nothing more to remove.
        QCOMPARE(BackupStore::rotate(folder, {}).size(), 1); // only the old "just made"
    }

    void restoreIntoFreshProfile_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("intact") << QString();
        QTest::newRow("truncated backup") << "truncate";
        QTest::newRow("counts differ") << "counts";
    }
    void restoreIntoFreshProfile()
    {
        QFETCH(QString, damage);
        QTemporaryDir backups;
        BaseFacts::Counts original;
        {
            TestEnvironment old;
            DataFolderSetup::run();
            DataModule data;
            QString error;
            QVERIFY2(data.open(AppPaths::dataFile("BASE.fdb"), &error), qPrintable(error));
            for (const char *name : {"Anna", "Олег", "Мария"}) {
                const QString client = addClient(data, name, "Berg");
                for (int i = 0; i < 3; ++i) {
                    TestRecord test = testOf(client, i);
                    QVERIFY(data.saveTest(test));
                }
            }
            QVERIFY(BaseFacts::count(data.database(), &original));
            const AutoBackup::Result made = AutoBackup(data.path(), backups.path()).run();
            QVERIFY2(made.ok, qPrintable(made.error));
            QCOMPARE(made.entry.counts, original);
        }
        BackupStore::Entry entry = BackupStore::list(backups.path()).value(0);
        QVERIFY(entry.verified);
        if (damage == "truncate") {
            QFile fbk(entry.baseFilePath());
            QVERIFY(fbk.open(QIODevice::ReadWrite) && fbk.resize(fbk.size() * 2 / 3));
        } else if (damage == "counts") {
            entry.counts.tests += 1; // a manifest that promises more than the file holds
        }

        TestEnvironment fresh;
        DataFolderSetup::run();
        const QString basePath = AppPaths::dataFile("BASE.fdb");
        const QByteArray before = Damage::bytesOf(basePath);
        const QStringList filesBefore =
            QDir(fresh.dataFolder()).entryList(QDir::Files | QDir::Hidden);
        const BackupRestore::Result restored = BackupRestore::prepare(entry, basePath);
        if (!damage.isEmpty()) {
            QVERIFY(!restored.ok);
            QVERIFY2(restored.error.contains("cannot be restored"), qPrintable(restored.error));
            QCOMPARE(QDir(fresh.dataFolder()).entryList(QDir::Files | QDir::Hidden), filesBefore);
            QVERIFY(Damage::bytesOf(basePath) == before);
            return;
        }
        QVERIFY2(restored.ok, qPrintable(restored.error));
        QString error;
        QVERIFY2(BackupRestore::replace(restored.prepared, basePath, &error), qPrintable(error));
        BaseFacts::Counts now;
        QVERIFY2(BaseFacts::countFile(basePath, &now, &error), qPrintable(error));
        QCOMPARE(now, original);
        DataModule data;
        QVERIFY2(data.open(basePath, &error), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TestAutoBackup)
#include "tst_auto_backup.moc"
