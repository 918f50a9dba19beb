// The device library loader against the shipped virtual device, a library lacking an export
// and a missing file; and what the virtual device delivers.
#include "DeviceScript.h"
#include "measure/DeviceFrame.h"
#include "measure/DeviceLibrary.h"
#include "TestEnvironment.h"

#include <QTest>

#include <cmath>

using Frames = QList<QPair<int, int>>; // kind and raw reading of each frame

namespace {

QString virtualDevicePath() {
    return TestEnvironment::installDir() + QStringLiteral("/DeviceData/device1");
}

// The program's conversion of a raw reading into a conductance value.
int converted(int raw) {
    const double r = raw;
    const double v = (-1.0301419 + 2.0384019 * r + 0.030242527 * r * r) /
                     (1 + 0.032656913 * r + 0.00012756338 * r * r);
    return std::clamp(int(std::trunc(v)), 0, 200);
}

} // namespace

class TestDeviceLibrary : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        m_env = std::make_unique<TestEnvironment>();
        QString error;
        QVERIFY2(m_device.load(virtualDevicePath(), &error), qPrintable(error));
    }
    void cleanup() { m_env.reset(); }

    void loadsVirtualDevice() {
        QCOMPARE(m_device.fileName(), QStringLiteral("device1.so"));
        DeviceFrame frame;
        QVERIFY2(!m_device.getData(&frame), "a device not yet opened cannot deliver data");
        QVERIFY(m_device.open());
        QCOMPARE(m_device.hid(), QByteArray("VirtualDe"));
        QVERIFY(m_device.getData(&frame));
        QVERIFY(frame.hasReading());
        m_device.close();
        QVERIFY(!m_device.getData(&frame));
    }

    void refusedLibraryLeavesNothingLoaded_data() {
        QTest::addColumn<QString>("path"); // empty: a file that does not exist
        QTest::addColumn<QStringList>("mentioned");
        QTest::newRow("lacks GETDATA") << QStringLiteral(MISSING_GETDATA_LIBRARY)
                                       << QStringList{"GETDATA", "device_missing_getdata.so"};
        QTest::newRow("missing file") << QString() << QStringList{"/nothing/device1"};
    }
    void refusedLibraryLeavesNothingLoaded() {
        QFETCH(QString, path);
        QFETCH(QStringList, mentioned);
        if (path.isEmpty())
            path = m_env->scratch(QStringLiteral("nothing")) + QStringLiteral("/device1");
        QString error;
        QVERIFY(!m_device.load(path, &error));
        for (const QString &text : std::as_const(mentioned))
            QVERIFY2(error.contains(text), qPrintable(error));
        QVERIFY2(!error.contains(QStringLiteral("OPEN")), "only the missing exports are named");
        // Not half usable: every call stays harmless.
        QVERIFY(!m_device.isLoaded());
        QVERIFY(m_device.fileName().isEmpty());
        DeviceFrame frame;
        QVERIFY(!m_device.open());
        QVERIFY(!m_device.getData(&frame));
        QVERIFY(m_device.hid().isEmpty());
        m_device.setBeep(10, 10, 1);
        m_device.close();
    }

    // Without a script the device plays a probe touching one point after the other: each of
    // the 24 touches lasts the 15 samples a point needs, the values are plausible and a new
    // connection starts from the first point again.
    void simulatedProbe() {
        auto sweep = [this] {
            QList<int> values; // the 15th sample of each touch
            int touching = 0;
            m_device.open();
            for (int poll = 0; poll < 24 * 30 + 10; ++poll) {
                DeviceFrame frame;
                const int v = m_device.getData(&frame) ? converted(frame.raw()) : -1;
                touching = v > 0 ? touching + 1 : 0;
                if (touching == 15)
                    values.append(v);
            }
            m_device.close();
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
        DeviceScript file(*m_env, QStringLiteral("frames"), script);
        QVERIFY(m_device.open());
        Frames frames;
        for (qsizetype i = 0; i < expected.size(); ++i) {
            DeviceFrame frame;
            QVERIFY(m_device.getData(&frame));
            frames.append({frame.kind(), frame.raw()});
        }
        QCOMPARE(frames, expected);
        m_device.close();
    }

    // How an identifier is shown is tst_device_codes' concern; here only what GETHID delivers.
    void scriptedIdentifier_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("hid");
        QTest::newRow("unprogrammed") << QByteArray("id-hex FF FF FF FF FF FF FF FF FF")
                                      << QByteArray(9, char(0xFF));
        QTest::newRow("too long for the buffer")
            << QByteArray("id ABCDEFGHIJKLMNOPQRSTUVWXYZ") << QByteArray("ABCDEFGHIJKLMNOPQRS");
        QTest::newRow("bad hex keeps the default") << QByteArray("id-hex FFF") << QByteArray("VirtualDe");
    }
    void scriptedIdentifier() {
        QFETCH(QByteArray, line);
        DeviceScript script(*m_env, QString::fromLatin1(QTest::currentDataTag()), line + '\n');
        QVERIFY(m_device.open());
        QTEST(m_device.hid(), "hid");
        m_device.close();
    }

    void recordsTherapyCalls() {
        DeviceScript script(*m_env, QStringLiteral("therapy"), "record calls.txt\n");
        QVERIFY(m_device.open());
        m_device.setColor(255, 128, 0, 7);
        m_device.setFq(3, 7.83f);
        m_device.setColor(0, 0, 0, 0);
        m_device.setFq(0, 0);
        m_device.close();
        QCOMPARE(script.recorded(), (QStringList{"OPEN 1", "SETCOLOR 255 128 0 7", "SETFQ 3 7.83",
                                                 "SETCOLOR 0 0 0 0", "SETFQ 0 0", "CLOSE"}));
    }

private:
    std::unique_ptr<TestEnvironment> m_env;
    DeviceLibrary m_device; // the virtual device, loaded afresh for every test
};

QTEST_GUILESS_MAIN(TestDeviceLibrary)
#include "tst_device_library.moc"
