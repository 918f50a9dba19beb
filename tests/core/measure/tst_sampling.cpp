// Measuring one test: the conversion of readings, the correction, the sampling of a point,
// the auto-advance, the grid's rules and the choice of picture for the current point.
#include "common/IniFile.h"
#include "DeviceScript.h"
#include "measure/Correction.h"
#include "measure/DeviceFrame.h"
#include "measure/DeviceLibrary.h"
#include "measure/PointPicture.h"
#include "measure/ReadingCurve.h"
#include "measure/TestRun.h"
#include "TestEnvironment.h"

#include <QSignalSpy>
#include <QTest>

namespace {

const quint16 kTouch = 100; // converts to 91
const quint16 kLift = 0;

DeviceFrame frame(quint16 raw) {
    return DeviceFrame::reading(raw);
}

// The order shipped in the seed Options.ini: hands first, then feet.
MeasuringOrder shippedOrder() {
    return MeasuringOrder::load(IniFile(TestEnvironment::installDir() + "/Q7/Options.ini"));
}

// Touches a point long enough to finish it, then lifts the probe once (a TestRun or a bare
// SamplingMachine).
template <typename Fed> void measurePoint(Fed &fed, quint16 raw = kTouch) {
    for (int i = 0; i < SamplingMachine::Samples + 1; ++i)
        fed.feed(frame(raw));
    fed.feed(frame(kLift));
}

} // namespace

class TestSampling : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void conversion_data() {
        QTest::addColumn<int>("raw");
        QTest::addColumn<int>("value");
        QTest::newRow("no contact") << 0 << 0;
        QTest::newRow("faint contact") << 1 << 1;
        QTest::newRow("truncated 91.18") << 100 << 91;
        QTest::newRow("truncated 130.58") << 210 << 130;
        QTest::newRow("200.2 clamped") << 1000 << 200;
        QTest::newRow("top of the range") << 65535 << 200;
    }
    void conversion() {
        QFETCH(int, raw);
        QTEST(ReadingCurve::toValue(quint16(raw)), "value");
    }

    void correction_data() {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<int>("reading");
        QTest::addColumn<int>("stored");
        QTest::newRow("points -10 on 5") << "cal1=0\ncal2=-10\ncal=2" << 5 << -5;
        QTest::newRow("10 % on 57") << "cal1=10\ncal2=0\ncal=1" << 57 << 62;
        QTest::newRow("cal 3 is off") << "cal1=10\ncal2=7\ncal=3" << 57 << 57;
        QTest::newRow("no section is off") << "" << 57 << 57;
        QTest::newRow("percent held at 100") << "cal1=250\ncal=1" << 40 << 80;
    }
    void correction() {
        QFETCH(QString, ini);
        QFETCH(int, reading);
        const QString text = ini.isEmpty() ? QString() : QStringLiteral("[correct]\n") + ini;
        const Correction c = Correction::load(IniFile::fromText(text));
        QTEST(c.correct(reading), "stored");

        // Stored and read back, it is the same correction.
        IniFile written;
        c.save(written);
        QCOMPARE(Correction::load(written), c);
    }

    // A whole point, sample by sample, through the real device library so the beeps are heard.
    void pointWalk() {
        DeviceScript script(*m_env, "beeps", "record calls.txt\n");
        DeviceLibrary device;
        QVERIFY(device.load(TestEnvironment::installDir() + "/DeviceData/device1"));
        QVERIFY(device.open());
        SamplingMachine machine(&device);
        machine.setSound(true);
        machine.setCorrection({Correction::Mode::Points, 0, 3});

        QVERIFY(!machine.feed(DeviceFrame()).reading); // another frame kind changes nothing
        QCOMPARE(machine.feed(frame(kLift)).traceReset, false);
        QCOMPARE(machine.sampleCount(), 0);

        SamplingMachine::Step step = machine.feed(frame(kTouch));
        QVERIFY(step.traceReset && step.sampleAdded && step.cancelAutoNext);
        QCOMPARE(step.sample, 94);
        for (int i = 2; i <= SamplingMachine::Samples; ++i) {
            step = machine.feed(frame(kTouch + quint16(i)));
            QVERIFY(step.sampleAdded && !step.pointFinished);
            QCOMPARE(step.samplePosition, i);
        }
        QCOMPARE(machine.sampleCount(), 16);
        step = machine.feed(frame(210)); // the 16th tick finishes with the 15th sample's value
        QVERIFY(step.pointFinished && !step.sampleAdded);
        QCOMPARE(step.pointValue, ReadingCurve::toValue(kTouch + 15) + 3);
        QCOMPARE(machine.sampleCount(), SamplingMachine::Finished);
        step = machine.feed(frame(kTouch));
        QVERIFY(!step.pointFinished && !step.sampleAdded); // still touching: nothing more
        step = machine.feed(frame(kLift));
        QVERIFY(step.lifted);
        QCOMPARE(machine.sampleCount(), 0);
        QCOMPARE(script.recorded().filter("SETBEEP"),
                 QStringList({"SETBEEP 10 10 1", "SETBEEP 10 10 2"}));

        machine.setSound(false);
        measurePoint(machine);
        QCOMPARE(script.recorded().filter("SETBEEP").size(), 2);
    }

    void contactBrokenAtSampleTen() {
        SamplingMachine machine;
        for (int i = 0; i < 10; ++i)
            machine.feed(frame(kTouch));
        const SamplingMachine::Step broken = machine.feed(frame(kLift));
        QVERIFY(broken.traceReset && !broken.lifted);
        QCOMPARE(machine.sampleCount(), 0);
        int samples = 0;
        SamplingMachine::Step step;
        while (!(step = machine.feed(frame(kTouch))).pointFinished) {
            samples += step.sampleAdded;
            QVERIFY(samples <= SamplingMachine::Samples);
        }
        QCOMPARE(samples, SamplingMachine::Samples);
    }

    void autoAdvanceWait_data() {
        QTest::addColumn<int>("waitSeconds");
        QTest::addColumn<int>("interval");
        QTest::newRow("no wait") << 0 << 10;
        QTest::newRow("three seconds") << 3 << 1000;
    }
    void autoAdvanceWait() {
        QFETCH(int, waitSeconds);
        TestRun run(nullptr, nullptr, nullptr);
        run.start(shippedOrder(), {});
        run.setWaitSeconds(waitSeconds);
        QSignalSpy armed(&run, &TestRun::autoNextArmed);
        QSignalSpy cancelled(&run, &TestRun::autoNextCancelled);
        measurePoint(run);
        QCOMPARE(armed.size(), 1);
        QTEST(armed.at(0).at(0).toInt(), "interval");
        QCOMPARE(run.grid().text({1, 1}), "91");
        for (int tick = 1; tick < waitSeconds; ++tick)
            QCOMPARE(run.autoNextTick(), TestRun::AutoNext::Waiting);
        QCOMPARE(run.autoNextTick(), TestRun::AutoNext::Moved);
        QCOMPARE(run.pointIndex(), 2);
        QCOMPARE(run.currentCell(), (GridCell{2, 1})); // RLU is second in the shipped order

        // Touching again during the wait calls the advance off and measures the same cell anew.
        measurePoint(run, 36);
        QCOMPARE(armed.size(), 2);
        cancelled.clear();
        run.feed(frame(kTouch));
        QCOMPARE(cancelled.size(), 1);
        measurePoint(run, 210);
        QCOMPARE(run.currentCell(), (GridCell{2, 1}));
        QCOMPARE(run.grid().text({2, 1}), "130");
    }

    // Cells that hold a value are passed over; a cell holding "0" arms no advance.
    void skipsMeasuredCells() {
        TestRun run(nullptr, nullptr, nullptr);
        run.start(shippedOrder(), {});
        run.setCellText({2, 1}, "70");
        run.setCellText({1, 2}, "71");
        measurePoint(run);
        QCOMPARE(run.autoNextTick(), TestRun::AutoNext::Moved);
        QCOMPARE(run.pointIndex(), 4);
        QCOMPARE(run.currentCell(), (GridCell{2, 2}));

        QSignalSpy armed(&run, &TestRun::autoNextArmed);
        run.setCorrection({Correction::Mode::Points, 0, -91});
        measurePoint(run);
        QCOMPARE(run.grid().text({2, 2}), "0");
        QCOMPARE(armed.size(), 0);
    }

    // Past the last point an invalid cell is selected instead of storing, whatever made it
    // invalid; a complete grid is stored (here there is no base, so storing fails).
    void completenessCheck() {
        TestRun run(nullptr, nullptr, nullptr);
        run.start(shippedOrder(), {});
        for (const GridCell &cell : TestGrid::cells())
            run.setCellText(cell, "80");
        for (int i = 1; i < 24; ++i)
            QCOMPARE(run.advance(), TestRun::Outcome::NotFinished);
        QCOMPARE(run.currentCell(), (GridCell{5, 4})); // RST is the last point
        run.setCorrection({Correction::Mode::Points, 0, -10});
        measurePoint(run, 10); // a reading of 16 - 10 gives 6, still valid
        run.select({4, 2});
        measurePoint(run, 3); // 4 - 10: below what a test can store
        QCOMPARE(run.grid().text({4, 2}), "-6");
        run.setCellText({5, 6}, "201");
        run.select({5, 4});
        QCOMPARE(run.pointIndex(), 24);
        QCOMPARE(run.advance(), TestRun::Outcome::Invalid);
        QCOMPARE(run.currentCell(), (GridCell{4, 2}));
        QCOMPARE(run.pointIndex(), 9); // LTH's place in the order
        run.setCellText({4, 2}, "55");
        run.select({5, 4});
        QCOMPARE(run.advance(), TestRun::Outcome::Invalid);
        QCOMPARE(run.currentCell(), (GridCell{5, 6}));
        run.setCellText({5, 6}, "200");
        run.select({5, 4});
        QCOMPARE(run.advance(), TestRun::Outcome::SaveFailed);
        QVERIFY(!run.lastError().isEmpty());

        // A later step that stores nothing carries no error of its own: the old one is gone,
        // and the automatic advance says whether it failed.
        run.select({1, 1});
        QCOMPARE(run.advance(), TestRun::Outcome::NotFinished);
        QVERIFY(run.lastError().isEmpty());
        run.select({5, 4});
        run.setWaitSeconds(0);
        QCOMPARE(run.autoNextTick(), TestRun::AutoNext::SaveFailed);
        QVERIFY(!run.lastError().isEmpty());
    }

    void gridRules_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("typed");
        QTest::addColumn<bool>("stored");
        QTest::newRow("empty") << "" << true << false;
        QTest::newRow("value") << "57" << true << true;
        QTest::newRow("200") << "200" << true << true;
        QTest::newRow("201") << "201" << false << false;
        QTest::newRow("zero") << "0" << false << false;
        QTest::newRow("negative") << "-5" << false << false;
        QTest::newRow("letter") << "5a" << false << false;
        QTest::newRow("blanks") << " 57 " << false << true;
        QTest::newRow("huge") << "99999999999" << false << false;
    }
    void gridRules() {
        QFETCH(QString, text);
        QTEST(TestGrid::acceptsText(text), "typed");
        QTEST(TestGrid::isValidValue(text), "stored");
    }

    void gridCells_data() {
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("channel");
        QTest::addColumn<int>("catalogue");
        QTest::addColumn<int>("nextCol");
        QTest::addColumn<int>("nextRow");
        QTest::newRow("LLU") << 1 << 1 << "LLU" << 94 << 2 << 1;
        QTest::newRow("RLU") << 2 << 1 << "RLU" << 34 << 1 << 2;
        QTest::newRow("RKI") << 2 << 6 << "RKI" << 60 << 4 << 1;
        QTest::newRow("LST") << 4 << 4 << "LST" << 106 << 5 << 4;
        QTest::newRow("RST") << 5 << 4 << "RST" << 46 << 4 << 5;
        QTest::newRow("RBL") << 5 << 6 << "RBL" << 23 << 1 << 1;
        QTest::newRow("separator") << 3 << 2 << "" << 0 << 1 << 1;
    }
    void gridCells() {
        QFETCH(int, col);
        QFETCH(int, row);
        QFETCH(QString, channel);
        QFETCH(int, nextCol);
        QFETCH(int, nextRow);
        const GridCell cell{col, row};
        QCOMPARE(TestGrid::channelOf(cell), channel);
        QTEST(TestGrid::catalogueIndexOf(cell), "catalogue");
        QCOMPARE(TestGrid::nextInReadingPattern(cell), (GridCell{nextCol, nextRow}));
        if (!channel.isEmpty())
            QCOMPARE(TestGrid::gridCellOf(TestGrid::orderCellOf(cell)), cell);
    }

    // The first value lands in the cell of the order's first point, whatever the order.
    void firstPointFollowsTheOrder() {
        MeasuringOrder order = shippedOrder();
        order.setText({1, MeasuringOrder::Left}, "2");  // LLU second
        order.setText({1, MeasuringOrder::Right}, "1"); // RLU first
        TestRun run(nullptr, nullptr, nullptr);
        run.start(order, {});
        QCOMPARE(run.currentCell(), (GridCell{2, 1}));
        measurePoint(run);
        QCOMPARE(run.grid().text({2, 1}), "91");
        QVERIFY(run.grid().text({1, 1}).isEmpty());
        QCOMPARE(run.grid().toRecord().value("RLU"), 91);
    }

    // Leaving a finished point by hand while the probe is still on it: the lift does not
    // advance a second time.
    void leavingAFinishedPointByHand() {
        TestRun run(nullptr, nullptr, nullptr);
        run.start(shippedOrder(), {});
        QSignalSpy armed(&run, &TestRun::autoNextArmed);
        for (int i = 0; i < SamplingMachine::Samples + 1; ++i)
            run.feed(frame(kTouch));
        run.advance();
        run.feed(frame(kLift));
        QCOMPARE(armed.size(), 0);
        measurePoint(run);
        QCOMPARE(armed.size(), 1);
        QCOMPARE(run.grid().text({2, 1}), "91");
    }

    void pictureChoice_data() {
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("picture");
        QTest::newRow("column 2 row 4") << 2 << 4 << "foot3";
        QTest::newRow("column 5 row 3") << 5 << 3 << "hand6";
        QTest::newRow("column 1 row 1") << 1 << 1 << "hand1";
        QTest::newRow("column 4 row 4") << 4 << 4 << "foot1";
        QTest::newRow("column 1 row 6") << 1 << 6 << "foot2";
        QTest::newRow("column 5 row 5") << 5 << 5 << "foot5";
        QTest::newRow("separator") << 3 << 1 << "";
    }
    void pictureChoice() {
        QFETCH(int, col);
        QFETCH(int, row);
        QTEST(PointPicture::nameFor(col, row), "picture");
    }

    void pictureScaling() {
        const QSize design = PointPicture::designSize("hand1");
        QCOMPARE(design, QSize(264, 460));
        // A tall panel centres the picture at its design size.
        const QRect tall = PointPicture::place(QSize(400, 500), design);
        QCOMPARE(tall, QRect(68, 20, 264, 460));
        QCOMPARE(PointPicture::marker(tall, design, 100, 200), QPoint(168, 220));
        // A short panel: 4 pixels from the top, 8 shorter, half the size here.
        const QRect half = PointPicture::place(QSize(300, 238), design);
        QCOMPARE(half, QRect(84, 4, 132, 230));
        QCOMPARE(PointPicture::marker(half, design, 100, 101), QPoint(84 + 50, 4 + 50));
    }

private:
    std::unique_ptr<TestEnvironment> m_env;
};

QTEST_GUILESS_MAIN(TestSampling)
#include "tst_sampling.moc"
