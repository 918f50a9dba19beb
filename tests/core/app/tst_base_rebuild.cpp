// The rebuild of a base left far behind by saves cut off by kills: it must keep every row of
// every table, never bring back the save that was cut off, and change nothing when it fails.
#include "app/BaseFacts.h"
#include "app/BaseRebuild.h"
#include "Damage.h"
#include "records/AutomaticSweep.h"
#include "SeedBase.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QProcess>
#include <QSqlQuery>
#include <QThread>
#include <QtTest>

#include <cstdio>

namespace {

const char *const HoldArgument = "--rename-and-wait";
const char *const RebuildArgument = "--rebuild";

// Run as a child: rename client Q71 in a transaction that is never committed, and wait.
int renameAndWait(const QString &path)
{
    QSqlDatabase db = DataModule::addConnection(QStringLiteral("child"), path);
    if (!db.open() || !db.transaction())
        return 2;
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("UPDATE CLIENTS SET NAME = 'Uncommitted' "
                                   "WHERE CODE_CLIENT = 'Q71'")))
        return 3;
    std::printf("held\n");
    std::fflush(stdout);
    for (;;)
        QThread::sleep(1);
}

QStringList column(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query(db);
    query.exec(sql);
    QStringList values;
    while (query.next())
        values << query.value(0).toString();
    return values;
}

} // namespace

class TestBaseRebuild : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_path = openSeedBase(*m_env, m_data);
        QSqlDatabase db = m_data.database();
        for (const char *sql :
             {"INSERT INTO CLIENTS (CODE_CLIENT, NAME) VALUES ('Q71', 'Anna')",
              "INSERT INTO CLIENTS (CODE_CLIENT, NAME) VALUES ('Q72', 'Ёлкин')",
              "INSERT INTO REMINDER (ID, \"DAY\", BEGIN_TIME) VALUES ('Q71', '2026-12-08', "
              "'10:00:00')"})
            QVERIFY2(QSqlQuery(db).exec(sql), qPrintable(sql));
        for (int i = 0; i < 3; ++i) {
            TestRecord test{0, QStringLiteral("Q71"), QDateTime(QDate(2026, 12, 1 + i), {}), {}};
            QVERIFY(m_data.saveTest(test));
        }
        QVERIFY(BaseFacts::countTables(db, &m_rows));
    }
    void cleanup()
    {
        m_data.close();
        m_env.reset();
    }

    void rebuildKeepsEveryRowAndNotTheCutOffSave()
    {
        m_data.close();
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QString::fromLatin1(HoldArgument), m_path});
        QByteArray out;
        while (!out.contains('\n') && child.waitForReadyRead(30000))
            out += child.readAllStandardOutput();
        QCOMPARE(out, QByteArray("held\n"));
        child.kill();
        QVERIFY(child.waitForFinished());

        QVERIFY(m_data.open(m_path));
        QVERIFY(QSqlQuery(m_data.database())
                    .exec("EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN WHILE (I < 300) DO "
                          "BEGIN IN AUTONOMOUS TRANSACTION DO I = I + 1; END END"));
        QVERIFY(BaseRebuild::due(m_data.database(), 300));
        QVERIFY(!BaseRebuild::due(m_data.database()));
        m_data.close();

        QList<int> progress;
        const BaseRebuild::Result result =
            BaseRebuild::run(m_path, [&](int percent) { progress << percent; });
        QVERIFY2(result.ok, qPrintable(result.error));
        QVERIFY(!progress.isEmpty() && progress.last() >= 50 && progress.last() <= 100);

        QVERIFY(m_data.open(m_path));
        const QSqlDatabase db = m_data.database();
        BaseFacts::TableRows rows;
        QVERIFY(BaseFacts::countTables(db, &rows));
        QCOMPARE(rows, m_rows);
        QCOMPARE(column(db, "SELECT NAME FROM CLIENTS ORDER BY CODE_CLIENT"),
                 QStringList({"Anna", "Ёлкин"}));
        QCOMPARE(m_data.testsOfClient("Q71").size(), 3);
        QVERIFY(AutomaticSweep::transactionsBehind(db).value_or(-1) < 300);
        QCOMPARE(AutomaticSweep::interval(db), std::optional<qint64>(0));
        QCOMPARE(QDir(QFileInfo(m_path).absolutePath())
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"BASE.fdb"});
    }

    // Killed anywhere in its backup, its restore or its rename, the rebuild leaves a base that
    // opens (once the gbak it ran has gone with it) and holds every row.
    void killedRebuildLeavesAWholeBase()
    {
        m_data.close();
        // The seed base's rebuild takes about 0.2 s: kills every 12 ms across it.
        for (int waitMs = 0; waitMs <= 240; waitMs += 12) {
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(),
                        {QString::fromLatin1(RebuildArgument), m_path});
            QVERIFY(child.waitForStarted());
            QTest::qWait(waitMs);
            child.kill();
            child.waitForFinished();
            QCOMPARE(child.state(), QProcess::NotRunning);
            QTRY_VERIFY_WITH_TIMEOUT(m_data.open(m_path), 3000);
            BaseFacts::TableRows rows;
            QVERIFY(BaseFacts::countTables(m_data.database(), &rows));
            QCOMPARE(rows, m_rows);
            m_data.close();
        }
    }

    void failedOrCancelledRebuildChangesNothing_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("cancelled") << true;
        QTest::newRow("base damaged") << false;
    }
    void failedOrCancelledRebuildChangesNothing()
    {
        QFETCH(bool, cancel);
        m_data.close();
        const QString folder = QFileInfo(m_path).absolutePath();
        // A rebuild cut off by a kill left its folder: it goes.
        QVERIFY(QDir(folder).mkpath(".rebuilding-abc123"));
        if (!cancel)
            QVERIFY(Damage::apply(m_path, Damage::Random));
        const QByteArray before = Damage::bytesOf(m_path);
        const BaseRebuild::Result result =
            BaseRebuild::run(m_path, {}, [cancel] { return cancel; });
        QVERIFY(!result.ok);
        QVERIFY(!result.error.isEmpty());
        QCOMPARE(result.cancelled, cancel);
        if (cancel) {
            QVERIFY(m_data.open(m_path));
            BaseFacts::TableRows rows;
            QVERIFY(BaseFacts::countTables(m_data.database(), &rows));
            QCOMPARE(rows, m_rows);
            m_data.close();
        } else {
            QCOMPARE(Damage::bytesOf(m_path), before);
        }
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"BASE.fdb"});
    }

private:
    std::unique_ptr<TestEnvironment> m_env;
    QString m_path;
    DataModule m_data;
    BaseFacts::TableRows m_rows;
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc >= 3 && qstrcmp(argv[1], HoldArgument) == 0)
        return renameAndWait(QString::fromLocal8Bit(argv[2]));
    if (argc >= 3 && qstrcmp(argv[1], RebuildArgument) == 0)
        return BaseRebuild::run(QString::fromLocal8Bit(argv[2])).ok ? 0 : 2;
    TestBaseRebuild test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_base_rebuild.moc"
