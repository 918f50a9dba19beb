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
using Tester = QAbstractItemModelTester;

class TestTestsModel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void followsTheCurrentClient() {
        TestEnvironment env;
        DataModule data;
        openSeedBase(env, data);
        QList<int> annaKeys;
        for (int day = 1; day <= 3; ++day) {
            TestRecord test = makeTest("Q71", QDateTime(QDate(2020, 1, day), QTime(9, 0)));
            QVERIFY(data.saveTest(test));
            annaKeys.prepend(test.codeTest);
        }
        TestRecord boris = makeTest("Q72", QDateTime(QDate(2020, 2, 1), QTime(9, 0)));
        QVERIFY(data.saveTest(boris));

        TestsModel model(&data);
        Tester tester(&model, Tester::FailureReportingMode::QtTest);
        Session session;
        TestFollower follower(&session, &model);
        QCOMPARE(model.rowCount(), 0);
        session.setCurrentClient("q71");
        QCOMPARE(session.currentTest(), annaKeys.first()); // the newest test becomes current
        QList<int> keys;
        for (int row = 0; row < model.rowCount(); ++row)
            keys.append(model.index(row, TestsModel::CodeColumn).data().toInt());
        QCOMPARE(keys, annaKeys);
        QCOMPARE(model.index(0, TestsModel::DateColumn).data().toDateTime(),
                 QDateTime(QDate(2020, 1, 3), QTime(9, 0)));
        QCOMPARE(model.columnCount(), 26);
        for (int i = 0; i < Channels::Count; ++i) {
            const int column = TestsModel::FirstChannelColumn + i;
            QCOMPARE(model.headerData(column, Qt::Horizontal).toString(), Channels::name(i));
            QCOMPARE(model.index(0, column).data().toInt(), 50 + i);
        }

        session.setCurrentClient("Q72");
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(session.currentTest(), boris.codeTest);
        session.setCurrentClient("Q79"); // a client without tests
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(session.currentTest(), 0);
        QVERIFY(model.lastError().isEmpty());
    }

    void keepsUpWithStoredTestsAndClosing() {
        TestEnvironment env;
        DataModule data;
        const QString path = openSeedBase(env, data);
        TestsModel model(&data);
        Tester tester(&model, Tester::FailureReportingMode::QtTest);
        model.setClient("Q71");
        TestRecord first = makeTest("Q71", QDateTime::currentDateTime());
        QVERIFY(data.saveTest(first));
        QCOMPARE(model.rowCount(), 1);
        TestRecord other = makeTest("Q72", QDateTime::currentDateTime());
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        QVERIFY(data.saveTest(other));
        QCOMPARE(reset.size(), 0); // another client's test does not disturb the list
        TestRecord second = makeTest("Q71", QDateTime::currentDateTime());
        QVERIFY(data.saveTest(second));
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.testAt(0).codeTest, second.codeTest);

        data.close();
        QCOMPARE(model.rowCount(), 0);
        QVERIFY(data.open(path));
        QCOMPARE(model.rowCount(), 2);
    }
};

QTEST_GUILESS_MAIN(TestTestsModel)
#include "tst_testsmodel.moc"
