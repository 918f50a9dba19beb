// The device library: its loader against the shipped virtual device, a library lacking an
// export and a missing file; what the virtual device delivers; how its frames are read and its
// identifier shown; and the device search through the loader.
#include "DeviceScript.h"
#include "measure/DeviceFrame.h"
#include "measure/DeviceIdentity.h"
#include "measure/DeviceLibrary.h"
#include "measure/DeviceSearch.h"
#include "measure/ReadingCurve.h"
#include "TestEnvironment.h"

#include <QSignalSpy>
#include <QTest>

using Frames = QList<QPair<int, int>>; // kind and raw reading of each frame

class TestDeviceLibrary : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The virtual device, loaded afresh for every test.
    void init() {
        m_env = std::make_unique<TestEnvironment>();
        m_device = std::make_unique<DeviceLibrary>();
        QString error;
        QVERIFY2(m_device->load(TestEnvironment::installDir() + "/DeviceData/device1", &error),
                 qPrintable(error));
    }
    void cleanup() {
        m_device.reset();
        m_env.reset();
    }

    void frame_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("hasReading");
        QTest::addColumn<int>("raw");
        QTest::newRow("low byte only") << QByteArray("\x06\x00\x78\x00", 4) << true << 120;
        QTest::newRow("byte 1 is high") << QByteArray("\x06\x01\x02\x00", 4) << true << 258;
        QTest::newRow("largest reading") << QByteArray("\x06\xFF\xFF\x00", 4) << true << 65535;
        QTest::newRow("no contact") << QByteArray("\x06\x00\x00\x00", 4) << true << 0;
        QTest::newRow("byte 3 is no part") << QByteArray("\x06\x00\x10\xFF", 4) << true << 16;
        QTest::newRow("other kind") << QByteArray("\x05\x01\x02\x00", 4) << false << 0;
        QTest::newRow("kind 0x86 is not 6") << QByteArray("\x86\x00\x64\x00", 4) << false << 0;
    }
    void frame() {
        QFETCH(QByteArray, bytes);
        const DeviceFrame frame =
            DeviceFrame::fromBytes(reinterpret_cast<const unsigned char *>(bytes.constData()));
        QTEST(frame.hasReading(), "hasReading");
        QTEST(int(frame.raw()), "raw");
    }

    void displayName_data() {
        QTest::addColumn<QByteArray>("identifier");
        QTest::addColumn<QString>("shown");
        // clang-format off
        QTest::newRow("virtual device") << QByteArray("VirtualDe") << "Virtual Device v1.0";
        QTest::newRow("probe") << QByteArray("ProbeDevi") << "Quorvane v1.0";
        QTest::newRow("unprogrammed") << QByteArray(9, char(0xFF)) << "Default ID";
        QTest::newRow("eight 0xFF bytes are not the default")
            << QByteArray(8, char(0xFF)) << QString(8, QChar(0x044F));
        QTest::newRow("case matters") << QByteArray("virtualde") << "virtualde";
        QTest::newRow("longer identifier") << QByteArray("VirtualDev") << "VirtualDev";
        QTest::newRow("Cyrillic identifier") << QByteArray("\xC4\xE0\xF2\xF7\xE8\xEA") << "Датчик";
        QTest::newRow("empty") << QByteArray() << "";
        // clang-format on
    }
    void displayName() {
        QFETCH(QByteArray, identifier);
        QTEST(DeviceIdentity::displayName(identifier), "shown");
    }

    void loadsVirtualDevice() {
        QCOMPARE(m_device->fileName(), "device1.so");
        DeviceFrame frame;
        QVERIFY2(!m_device->getData(&frame), "a device not yet opened cannot deliver data");
        QVERIFY(m_device->open());
        QCOMPARE(m_device->hid(), QByteArray("VirtualDe"));
        QVERIFY(m_device->getData(&frame));
        QVERIFY(frame.hasReading());
        m_device->close();
        QVERIFY(!m_device->getData(&frame));
    }

    void refusedLibraryLeavesNothingLoaded_data() {
        QTest::addColumn<QString>("path"); // empty: a file that does not exist
        QTest::addColumn<QStringList>("mentioned");
        // clang-format off
        QTest::newRow("lacks GETDATA")
            << QStringLiteral(MISSING_GETDATA_LIBRARY)
            << QStringList{"GETDATA", "device_missing_getdata.so"};
        QTest::newRow("missing file") << QString() << QStringList{"/nothing/device1"};
        // clang-format on
    }
    void refusedLibraryLeavesNothingLoaded() {
        QFETCH(QString, path);
        QFETCH(QStringList, mentioned);
        if (path.isEmpty())
            path = m_env->scratch("nothing") + "/device1";
        QString error;
        QVERIFY(!m_device->load(path, &error));
        for (const QString &text : std::as_const(mentioned))
            QVERIFY2(error.contains(text), qPrintable(error));
        QVERIFY2(!error.contains("OPEN"), "only the missing exports are named");
        // Not half usable: every call stays harmless.
        QVERIFY(!m_device->isLoaded());
        QVERIFY(m_device->fileName().isEmpty());
        DeviceFrame frame;
        QVERIFY(!m_device->open());
        QVERIFY(!m_device->getData(&frame));
        QVERIFY(m_device->hid().isEmpty());
        m_device->setBeep(10, 10, 1);
        m_device->close();
    }

    // Without a script the device plays a probe touching one point after the other: each of
    // the 24 touches lasts the 15 samples a point needs, the values are plausible and a new
    // connection starts from the first point again.
    void simulatedProbe() {
        auto sweep = [this] {
            QList<int> values; // the 15th sample of each touch
            int touching = 0;
            m_device->open();
            for (int poll = 0; poll < 24 * 30 + 10; ++poll) {
                DeviceFrame frame;
                const int v = m_device->getData(&frame) ? ReadingCurve::toValue(frame.raw()) : -1;
                touching = v > 0 ? touching + 1 : 0;
                if (touching == 15)
                    values.append(v);
            }
            m_device->close();
            return values;
        };
        const QList<int> values = sweep();
        QCOMPARE(values.size(), 24);
        for (int v : values)
            QVERIFY2(v >= 40 && v <= 150, qPrintable(QString::number(v)));
        const auto [low, high] = std::minmax_element(values.cbegin(), values.cend());
        QVERIFY2(*high - *low >= 40, "the profile should show channels out of the corridor");
        QCOMPARE(sweep(), values);
    }

    void scriptedFrames_data() {
        QTest::addColumn<QByteArray>("script"); // null: a script file that cannot be read
        QTest::addColumn<Frames>("expected");
        QTest::newRow("frames, odd lines skipped")
            << QByteArray("# frames of another kind pass through unchanged\n"
                          "frame 9 300 2\nframe 6 258\nframe x y\nframe 6 70000\nframe 6 5 0\n"
                          "bogus line\nopen-fail -1\n  frame 6 1000 1  \r\n")
            << Frames{{9, 0}, {9, 0}, {6, 258}, {6, 1000}, {6, 0}, {6, 0}};
        // Never touched, rather than simulated readings a test might take for its own.
        QTest::newRow("unreadable script") << QByteArray() << Frames(40, {6, 0});
    }
    void scriptedFrames() {
        QFETCH(QByteArray, script);
        QFETCH(Frames, expected);
        DeviceScript file(*m_env, "frames", script);
        QVERIFY(m_device->open());
        Frames frames;
        for (qsizetype i = 0; i < expected.size(); ++i) {
            DeviceFrame frame;
            QVERIFY(m_device->getData(&frame));
            frames.append({frame.kind(), frame.raw()});
        }
        QCOMPARE(frames, expected);
        m_device->close();
    }

    // How an identifier is shown is displayName's concern; here only what GETHID delivers.
    void scriptedIdentifier_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("hid");
        // clang-format off
        QTest::newRow("unprogrammed")
            << QByteArray("id-hex FF FF FF FF FF FF FF FF FF") << QByteArray(9, char(0xFF));
        QTest::newRow("too long for the buffer")
            << QByteArray("id ABCDEFGHIJKLMNOPQRSTUVWXYZ") << QByteArray("ABCDEFGHIJKLMNOPQRS");
        QTest::newRow("bad hex keeps the default")
            << QByteArray("id-hex FFF") << QByteArray("VirtualDe");
        // clang-format on
    }
    void scriptedIdentifier() {
        QFETCH(QByteArray, line);
        DeviceScript script(*m_env, QString::fromLatin1(QTest::currentDataTag()), line + '\n');
        QVERIFY(m_device->open());
        QTEST(m_device->hid(), "hid");
        m_device->close();
    }

    void recordsTherapyCalls() {
        DeviceScript script(*m_env, "therapy", "record calls.txt\n");
        QVERIFY(m_device->open());
        m_device->setColor(255, 128, 0, 7);
        m_device->setFq(3, 7.83f);
        m_device->setColor(0, 0, 0, 0);
        m_device->setFq(0, 0);
        m_device->close();
        QCOMPARE(script.recorded(), (QStringList{"OPEN 1", "SETCOLOR 255 128 0 7", "SETFQ 3 7.83",
                                                 "SETCOLOR 0 0 0 0", "SETFQ 0 0", "CLOSE"}));
    }

    void foundOnlyWhenOpenSucceedsAndClosedOnce() {
        DeviceScript script(*m_env, "open", "record calls.txt\nopen-fail 2\n");
        DeviceSearch search(m_device.get());
        QSignalSpy failed(&search, &DeviceSearch::openFailed);
        QSignalSpy found(&search, &DeviceSearch::deviceFound);

        search.start();
        QVERIFY(search.isSearching());
        search.tick();
        search.tick();
        QCOMPARE(failed.count(), 2);
        QCOMPARE(found.count(), 0);
        QVERIFY(!search.isConnected());
        QVERIFY2(search.isSearching(), "a failed OPEN keeps searching");

        search.tick();
        QCOMPARE(found.count(), 1);
        QCOMPARE(found.at(0).at(0).toString(), "Virtual Device v1.0");
        QCOMPARE(search.displayName(), "Virtual Device v1.0");
        QVERIFY(search.isConnected());
        QVERIFY2(!search.isSearching(), "the search stops once the device is found");
        QCOMPARE(failed.count(), 2);

        // At exit the device is closed once, however often the program asks.
        search.closeIfConnected();
        search.closeIfConnected();
        QVERIFY(!search.isConnected());
        QVERIFY(!search.isSearching());
        QCOMPARE(script.recorded(),
                 (QStringList{"OPEN 0", "OPEN 0", "OPEN 1", "GETHID VirtualDe", "CLOSE"}));
    }

    // GETDATA fails, the measurement restarts the search: the next tick closes the stale
    // connection, the one after opens the device again.
    void lostDeviceIsClosedThenReopened() {
        DeviceScript script(*m_env, "lost",
                            "record calls.txt\nframe 6 100 2\nlost\nframe 6 90 1\n");
        DeviceSearch search(m_device.get());
        QSignalSpy found(&search, &DeviceSearch::deviceFound);
        QSignalSpy closed(&search, &DeviceSearch::deviceClosed);
        search.start();
        search.tick();
        QCOMPARE(found.count(), 1);

        DeviceFrame frame;
        QVERIFY(m_device->getData(&frame));
        m_device->setBeep(10, 10, 1);
        QVERIFY(m_device->getData(&frame));
        QCOMPARE(int(frame.raw()), 100);
        QVERIFY(!m_device->getData(&frame));
        QVERIFY2(!m_device->getData(&frame), "a lost device stays lost until it is reopened");

        search.restartAfterLoss();
        QVERIFY(search.isSearching());
        search.tick();
        QCOMPARE(closed.count(), 1);
        QVERIFY(!search.isConnected());
        QCOMPARE(found.count(), 1);
        QVERIFY(search.isSearching());

        search.tick();
        QCOMPARE(found.count(), 2);
        QVERIFY(search.isConnected());
        QVERIFY(!search.isSearching());
        QVERIFY(m_device->getData(&frame));
        QCOMPARE(int(frame.raw()), 90);

        QCOMPARE(script.recorded(), (QStringList{"OPEN 1", "GETHID VirtualDe", "SETBEEP 10 10 1",
                                                 "CLOSE", "OPEN 1", "GETHID VirtualDe"}));
    }

    void timerDrivesTheSearch() {
        DeviceScript script(*m_env, "timer", "open-fail 1\n");
        DeviceSearch search(m_device.get());
        QSignalSpy failed(&search, &DeviceSearch::openFailed);
        QSignalSpy found(&search, &DeviceSearch::deviceFound);
        search.timer()->setInterval(10);
        search.start();
        QTRY_COMPARE(found.count(), 1);
        QCOMPARE(failed.count(), 1);
        QVERIFY(!search.isSearching());
        search.closeIfConnected();
    }

    // Without a loaded library there is nothing to search for: the timer never starts.
    void noLibraryNoSearch() {
        DeviceLibrary none;
        DeviceSearch search(&none);
        QSignalSpy failed(&search, &DeviceSearch::openFailed);
        QSignalSpy found(&search, &DeviceSearch::deviceFound);
        search.start();
        QVERIFY(!search.isSearching());
        search.tick();
        search.restartAfterLoss();
        QVERIFY(!search.isSearching());
        QCOMPARE(failed.count(), 0);
        QCOMPARE(found.count(), 0);
        search.closeIfConnected();
    }

private:
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<DeviceLibrary> m_device;
};

QTEST_GUILESS_MAIN(TestDeviceLibrary)
#include "tst_device_library.moc"
