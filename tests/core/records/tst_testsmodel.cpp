// The test list of the current client: newest first, follows the client without regard to
// case, and keeps up with stored tests and a closed base.
#include "app/Session.h"
#include "app/TestFollower.h"
#include "records/DataModule.h"
#include "records/TestsModel.h"
#include "RecordsTestSupport.h"
#include "TestEnvironment.h"

#include <QAbstractItemModelTester>
#include <QtTest>

using namespace RecordsTestSupport;

class TestTestsModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void followsTheCurrentClient();
    void keepsUpWithStoredTestsAndClosing();
};

void TestTestsModel::followsTheCurrentClient()
{
    TestEnvironment env;
    DataModule data;
    openSeedBase(env, data);
    QList<int> annaKeys;
    for (int day = 1; day <= 3; ++day) {
        TestRecord test =
            makeTest(QStringLiteral("Q71"), QDateTime(QDate(2020, 1, day), QTime(9, 0)));
        QVERIFY(data.saveTest(test));
        annaKeys.prepend(test.codeTest);
    }
    TestRecord boris = makeTest(QStringLiteral("Q72"), QDateTime(QDate(2020, 2, 1), QTime(9, 0)));
    QVERIFY(data.saveTest(boris));

    TestsModel model(&data);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    Session session;
    TestFollower follower(&session, &model);

    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(session.currentTest(), 0);
    session.setCurrentClient(QStringLiteral("q71"));
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(session.currentTest(), annaKeys.first()); // the newest test becomes current
    for (int row = 0; row < 3; ++row)
        QCOMPARE(model.index(row, TestsModel::CodeColumn).data().toInt(), annaKeys.at(row));
    QCOMPARE(model.index(0, TestsModel::DateColumn).data().toDateTime(),
             QDateTime(QDate(2020, 1, 3), QTime(9, 0)));
    QCOMPARE(model.columnCount(), 26);
    for (int i = 0; i < Channels::Count; ++i) {
        const int column = TestsModel::FirstChannelColumn + i;
        QCOMPARE(model.headerData(column, Qt::Horizontal).toString(), Channels::name(i));
        QCOMPARE(model.index(0, column).data().toInt(), 50 + i);
    }

    session.setCurrentClient(QStringLiteral("Q72"));
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(session.currentTest(), boris.codeTest);

    session.setCurrentClient(QStringLiteral("Q79")); // a client without tests
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(session.currentTest(), 0);
    QVERIFY(model.lastError().isEmpty());
    session.setCurrentClient(QString());
    QCOMPARE(model.rowCount(), 0);
}

void TestTestsModel::keepsUpWithStoredTestsAndClosing()
{
    TestEnvironment env;
    DataModule data;
    const QString path = openSeedBase(env, data);
    QString error;
    TestsModel model(&data);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setClient(QStringLiteral("Q71"));
    QCOMPARE(model.rowCount(), 0);

    TestRecord first = makeTest(QStringLiteral("Q71"), QDateTime::currentDateTime());
    QVERIFY(data.saveTest(first));
    QCOMPARE(model.rowCount(), 1);
    TestRecord other = makeTest(QStringLiteral("Q72"), QDateTime::currentDateTime());
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    QVERIFY(data.saveTest(other));
    QCOMPARE(reset.size(), 0); // another client's test does not disturb the list
    TestRecord second = makeTest(QStringLiteral("Q71"), QDateTime::currentDateTime());
    QVERIFY(data.saveTest(second));
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.testAt(0).codeTest, second.codeTest);

    data.close();
    QCOMPARE(model.rowCount(), 0);
    QVERIFY2(data.open(path, &error), qPrintable(error));
    QCOMPARE(model.rowCount(), 2);
}

QTEST_GUILESS_MAIN(TestTestsModel)
#include "tst_testsmodel.moc"
