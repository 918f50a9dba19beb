// The balance figures of a test, worked out by hand, and a client's tests put in time order.
#include "records/TestRecord.h"
#include "ryodoraku/ProgressFigures.h"

#include <QtTest>

namespace {

TestRecord testOf(int value, const QDateTime &when = QDateTime(QDate(2026, 3, 1), QTime(10, 0)))
{
    TestRecord test;
    test.values.fill(value);
    test.testDate = when;
    return test;
}

} // namespace

class TestProgressFigures : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // A balanced test and an empty one (mean 0, nothing to divide by) show no deviation at all.
    void evenTestHasNothingToShow_data()
    {
        QTest::addColumn<int>("value");
        QTest::newRow("balanced") << 100;
        QTest::newRow("nothing measured") << 0;
    }
    void evenTestHasNothingToShow()
    {
        QFETCH(int, value);
        const ProgressFigures f = ProgressFigures::of(testOf(value), 10);
        QCOMPARE(f.mean, value);
        QCOMPARE(f.outside, 0);
        QCOMPARE(f.meanDeviation, 0.0);
        QCOMPARE(f.sideDifference, 0.0);
        for (int i = 0; i < Channels::Count; ++i) {
            QCOMPARE(f.deviation[size_t(i)], 0);
            QCOMPARE(f.classes[size_t(i)], ConductionClass::Normal);
        }
    }

    void oneExtremeChannel()
    {
        // 23 channels at 100 and RST at 340: mean 2640 / 24 = 110, corridor 100..120 at 10 %.
        TestRecord test = testOf(100);
        const int rst = Channels::indexOf(QStringLiteral("RST"));
        test.values[size_t(rst)] = 340;
        const ProgressFigures f = ProgressFigures::of(test, 10);
        QCOMPARE(f.mean, 110);
        QCOMPARE(f.outside, 1);
        // (23 * 10 + 230) / 24 / 110 * 100
        QVERIFY(qAbs(f.meanDeviation - 460.0 / 24 / 110 * 100) < 1e-9);
        QVERIFY(qAbs(f.meanDeviation - 17.4242) < 1e-3);
        // Only ST differs between the sides, by 240: 240 / 12 / 110 * 100
        QVERIFY(qAbs(f.sideDifference - 18.1818) < 1e-3);
        QCOMPARE(f.deviation[size_t(rst)], 209);
        QCOMPARE(f.classes[size_t(rst)], ConductionClass::High);
        const int lst = Channels::indexOf(QStringLiteral("LST"));
        QCOMPARE(f.deviation[size_t(lst)], -9);
        QCOMPARE(f.classes[size_t(lst)], ConductionClass::Normal); // on the lower bound
    }

    void testsInTimeOrderWithinTheRange()
    {
        const QDateTime march(QDate(2026, 3, 1), QTime(10, 0));
        const QList<TestRecord> tests = {testOf(90, march.addDays(14)), testOf(80, march),
                                         testOf(70, march.addDays(-30)),
                                         testOf(60, march.addDays(7))};
        QList<ProgressFigures> all = progressOf(tests, 10);
        QCOMPARE(all.size(), 4);
        QCOMPARE(all.at(0).mean, 70);
        QCOMPARE(all.at(1).mean, 80);
        QCOMPARE(all.at(2).mean, 60);
        QCOMPARE(all.at(3).mean, 90);
        // Both ends of the range count as inside it.
        const QList<ProgressFigures> march1to8 =
            progressOf(tests, 10, march.date(), march.date().addDays(7));
        QCOMPARE(march1to8.size(), 2);
        QCOMPARE(march1to8.at(0).mean, 80);
        QCOMPARE(progressOf(tests, 10, march.date().addDays(8)).size(), 1);
        QCOMPARE(progressOf(tests, 10, QDate(), march.date().addDays(-1)).size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestProgressFigures)
#include "tst_progress_figures.moc"
