// Backing up the practitioner's data: a backup made while the program holds the base open is a
// complete, openable copy; a backup that fails leaves nothing behind; backups never overwrite
// one another.
#include "app/AppPaths.h"
#include "app/BaseFacts.h"
#include "app/DataBackup.h"
#include "app/DataFolderSetup.h"
#include "common/Clock.h"
#include "common/IniFile.h"
#include "records/ClientSync.h"
#include "SeedBase.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <unistd.h>

namespace {

// The data folder's own base, opened as the program opens it, with two clients and three tests.
void openSeededBase(DataModule &data) {
    QString error;
    QVERIFY2(data.open(AppPaths::dataFile("BASE.fdb"), &error), qPrintable(error));
    const QString first = addClient(data, "Anna", "Berg");
    const QString second = addClient(data, "Олег", "Иванов");
    QVERIFY(!first.isEmpty() && !second.isEmpty());
    int minute = 0;
    for (const QString &client : {first, first, second}) {
        TestRecord test{0, client, QDateTime(QDate(2026, 3, 2), QTime(10, minute++)), {}};
        QVERIFY2(data.saveTest(test, &error), qPrintable(error));
    }
}

QStringList entriesOf(const QString &folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

} // namespace

class TestDataBackup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { Clock::setNow(QDateTime()); }

    void backupOfOpenBaseIsCompleteAndOpens() {
        TestEnvironment env;
        DataFolderSetup::run();
        DataModule data;
        openSeededBase(data);
        BaseFacts::Counts before;
        QVERIFY(BaseFacts::count(data.database(), &before));
        QCOMPARE(before.tests, 3);
        Clock::setNow(QDateTime(QDate(2026, 3, 4), QTime(14, 30, 12)));

        const QString target = env.scratch("usb stick");
        QStringList steps;
        DataBackup backup(&data);
        backup.setProgress([&steps](const QString &step) { steps.append(step); });
        const DataBackup::Result result = backup.run(target);

        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(result.folder, target + "/Vandrel backup 2026-03-04 14-30");
        QCOMPARE(entriesOf(target), QStringList{"Vandrel backup 2026-03-04 14-30"});
        for (const char *file : {"BASE.fdb", "Options.ini", "Remember.ini",
                                 "languages/English.lang", "languages/Russian.lang"})
            QVERIFY2(QFileInfo(result.folder + '/' + file).isFile(), file);
        BaseFacts::Counts copied;
        QString error;
        QVERIFY2(BaseFacts::countFile(result.folder + "/BASE.fdb", &copied, &error),
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

    void sharedBaseOnlyWhenItIsTheLocalDefault_data() {
        QTest::addColumn<QString>("configured");
        QTest::addColumn<bool>("copied");
        QTest::newRow("default file") << QString() << true;
        QTest::newRow("server") << "clinic-server/3050:/srv/Uniform.fdb" << false;
        QTest::newRow("file elsewhere") << "/mnt/clinic/Uniform.fdb" << false;
    }
    void sharedBaseOnlyWhenItIsTheLocalDefault() {
        QFETCH(QString, configured);
        TestEnvironment env;
        DataFolderSetup::run();
        QDir().mkpath(QFileInfo(ClientSync::defaultSharedPath()).absolutePath());
        QVERIFY(QFile::copy(ClientSync::seedPath(), ClientSync::defaultSharedPath()));
        IniFile options(AppPaths::dataFile("Options.ini"));
        ClientSync::writeTarget(options, {configured});
        QVERIFY(options.save());

        const DataBackup::Result result = DataBackup().run(env.scratch("target"));
        QVERIFY2(result.ok, qPrintable(result.error));
        QTEST(QFileInfo::exists(result.folder + "/Uniform Base/Uniform.fdb"), "copied");
    }

    void failureLeavesNothingBehind_data() {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("named"); // what the message must name
        // clang-format off
        QTest::newRow("folder missing") << "missing" << "gone";
        QTest::newRow("folder not writable") << "read-only" << QString();
        QTest::newRow("file cannot be read") << "unreadable" << "Remember.ini";
        // clang-format on
    }
    void failureLeavesNothingBehind() {
        QFETCH(QString, failure);
        QFETCH(QString, named);
        TestEnvironment env;
        DataFolderSetup::run();
        DataModule data;
        openSeededBase(data);

        QString target = env.scratch("target");
        if (failure == QLatin1String("missing")) {
            target += "/gone";
        } else if (failure == QLatin1String("read-only")) {
            // Permissions do not stop the superuser; a folder of the kernel's does.
            if (geteuid() == 0)
                target = "/proc";
            else
                QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::ExeOwner));
            named = target;
        } else {
            // Remember.ini comes after the base and Options.ini: the copy fails half-way.
            const QString remember = AppPaths::dataFile("Remember.ini");
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

    void backupsInOneMinuteDoNotOverwrite() {
        TestEnvironment env;
        DataFolderSetup::run();
        const QString target = env.scratch("target");
        Clock::setNow(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 1)));
        const DataBackup::Result first = DataBackup().run(target);
        Clock::setNow(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 40)));
        const DataBackup::Result second = DataBackup().run(target);

        QVERIFY2(first.ok && second.ok, qPrintable(first.error + second.error));
        QCOMPARE(QFileInfo(first.folder).fileName(), "Vandrel backup 2026-12-31 23-59");
        QCOMPARE(QFileInfo(second.folder).fileName(), "Vandrel backup 2026-12-31 23-59 (2)");
        QVERIFY(QFileInfo(second.folder + "/BASE.fdb").isFile());
    }
};

QTEST_GUILESS_MAIN(TestDataBackup)
#include "tst_data_backup.moc"
