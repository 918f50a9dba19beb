// Firebird's gbak run by the program: a backup restored again holds every client and test as
// they were; a damaged backup file or a missing gbak is reported and leaves no file behind.
#include "app/Gbak.h"
#include "Damage.h"
#include "SeedBase.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

namespace {

// Every client code and every test with its readings, in key order: two bases that give the
// same text hold the same clients and tests.
QString contents(const QString &path)
{
    DataModule data;
    QString error;
    if (!data.open(path, &error))
        return QStringLiteral("cannot open: ") + error;
    QStringList rows;
    QSqlQuery clients(data.database());
    clients.exec("SELECT CODE_CLIENT, NAME, SURNAME FROM CLIENTS ORDER BY CODE_CLIENT");
    while (clients.next())
        rows << clients.value(0).toString() + '|' + clients.value(1).toString() + '|'
                    + clients.value(2).toString();
    QSqlQuery tests(data.database());
    tests.exec("SELECT * FROM TESTS ORDER BY CODE_TEST");
    while (tests.next()) {
        QStringList fields;
        for (int i = 0; i < tests.record().count(); ++i)
            fields << tests.value(i).toString();
        rows << fields.join('|');
    }
    return rows.join('\n');
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

class TestGbak : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (Gbak::findProgram().isEmpty())
            QSKIP("gbak is not installed (firebird3.0-utils)");
    }

    void roundTripKeepsEveryClientAndTest()
    {
        TestEnvironment env;
        QString basePath;
        {
            DataModule data;
            basePath = openSeedBase(env, data);
            QString error;
            for (int c = 0; c < 12; ++c) {
                const QString client = addClient(data, QStringLiteral("Имя %1").arg(c), "Surname");
                for (int t = 0; t < 3; ++t) {
                    TestRecord test{0, client, QDateTime(QDate(2026, 1, 1 + t), QTime(9, c)), {}};
                    for (int i = 0; i < Channels::Count; ++i)
                        test.values[size_t(i)] = (c * 31 + t * 7 + i) % 200;
                    QVERIFY2(data.saveTest(test, &error), qPrintable(error));
                }
            }
        }
        const QString original = contents(basePath);
        QVERIFY(original.count('\n') >= 12 + 12 * 3 - 1);

        const QString folder = env.scratch("gbak");
        Gbak gbak;
        QList<Gbak::Step> steps;
        gbak.setProgress([&steps](const Gbak::Step &step) { steps.append(step); });
        QString error;
        QVERIFY2(gbak.backup(basePath, folder + "/base.fbk", &error), qPrintable(error));
        QVERIFY(!steps.isEmpty());
        QVERIFY2(steps.last().records >= 12 + 36,
                 qPrintable(QString::number(steps.last().records)));
        steps.clear();
        QVERIFY2(gbak.restore(folder + "/base.fbk", folder + "/restored.fdb", &error),
                 qPrintable(error));
        QVERIFY(steps.last().records >= 12 + 36);
        QCOMPARE(contents(folder + "/restored.fdb"), original);
        QCOMPARE(filesIn(folder), (QStringList{"base.fbk", "restored.fdb"}));

        // An existing file is never overwritten.
        const QByteArray before = Damage::bytesOf(folder + "/restored.fdb");
        QVERIFY(!before.isEmpty());
        QVERIFY(!gbak.restore(folder + "/base.fbk", folder + "/restored.fdb", &error));
        QVERIFY2(error.contains("exists"), qPrintable(error));
        QVERIFY(Damage::bytesOf(folder + "/restored.fdb") == before);
    }

    void failuresLeaveNoFile_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("named"); // what the message must contain
        QTest::newRow("truncated backup") << "truncated"
                                          << "gbak ended with code";
        QTest::newRow("not a backup") << "garbage"
                                      << "gbak ended with code";
        QTest::newRow("gbak missing") << "missing"
                                      << "gbak";
        QTest::newRow("cancelled") << "cancel"
                                   << "Cancelled";
    }
    void failuresLeaveNoFile()
    {
        QFETCH(QString, failure);
        QFETCH(QString, named);
        TestEnvironment env;
        const QString basePath = copySeedBase(env);
        const QString folder = env.scratch("gbak");
        QString error;
        QVERIFY2(Gbak().backup(basePath, folder + "/base.fbk", &error), qPrintable(error));
        QFile fbk(folder + "/base.fbk");
        QVERIFY(fbk.open(QIODevice::ReadWrite));
        Gbak gbak;
        if (failure == "truncated") {
            QVERIFY(fbk.resize(fbk.size() / 2));
        } else if (failure == "garbage") {
            fbk.seek(0);
            fbk.write(QByteArray(4096, 'x'));
        } else if (failure == "missing") {
            gbak.setProgram(folder + "/no-such-gbak");
        } else {
            gbak.setCancelled([] { return true; });
        }
        fbk.close();
        const QStringList before = filesIn(folder);

        QVERIFY(!gbak.restore(folder + "/base.fbk", folder + "/restored.fdb", &error));
        QVERIFY2(error.contains(named), qPrintable(error));
        QCOMPARE(gbak.wasCancelled(), failure == "cancel");
        QCOMPARE(filesIn(folder), before);
    }
};

QTEST_GUILESS_MAIN(TestGbak)
#include "tst_gbak.moc"
