// The device library loader against the shipped virtual device, a library lacking an export
// and a missing file; and what the virtual device delivers.
#include "DeviceScript.h"
#include "measure/DeviceFrame.h"
#include "measure/DeviceIdentity.h"
#include "measure/DeviceLibrary.h"
#include "TestEnvironment.h"

#include <QTest>

#include <cmath>

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
        qunsetenv("VANDREL_DEVICE_SCRIPT");
    }
    void cleanup() { m_env.reset(); }

    void loadsVirtualDevice() {
        DeviceLibrary device;
        QString error;
        QVERIFY2(device.load(virtualDevicePath(), &error), qPrintable(error));
        QVERIFY(device.isLoaded());
        QCOMPARE(device.fileName(), QStringLiteral("device1.so"));
        QVERIFY(error.isEmpty());

        DeviceFrame frame;
        QVERIFY2(!device.getData(&frame), "a device not yet opened cannot deliver data");
        QVERIFY(device.open());
        QCOMPARE(device.hid(), QByteArray("VirtualDe"));
        QCOMPARE(DeviceIdentity::displayName(device.hid()), QStringLiteral("Virtual Device v1.0"));
        QVERIFY(device.getData(&frame));
        QVERIFY(frame.hasReading());
        device.close();
        QVERIFY(!device.getData(&frame));
    }

    void refusesLibraryLackingAnExport() {
        DeviceLibrary device;
        QString error;
        QVERIFY(!device.load(QStringLiteral(MISSING_GETDATA_LIBRARY), &error));
        QVERIFY(!device.isLoaded());
        QVERIFY(device.fileName().isEmpty());
        QVERIFY2(error.contains(QStringLiteral("GETDATA")), qPrintable(error));
        QVERIFY2(error.contains(QStringLiteral("device_missing_getdata.so")), qPrintable(error));
        QVERIFY2(!error.contains(QStringLiteral("OPEN")), qPrintable(error));

        // A refused library is not half usable: every call stays harmless.
        DeviceFrame frame;
        QVERIFY(!device.open());
        QVERIFY(!device.getData(&frame));
        QVERIFY(device.hid().isEmpty());
        device.setBeep(10, 10, 1);
        device.close();
    }

    void missingFileReplacesLoadedLibrary() {
        DeviceLibrary device;
        QVERIFY(device.load(virtualDevicePath()));
        QString error;
        const QString missing =
            m_env->scratch(QStringLiteral("nothing")) + QStringLiteral("/device1");
        QVERIFY(!device.load(missing, &error));
        QVERIFY(!device.isLoaded());
        QVERIFY(!error.isEmpty());
        QVERIFY2(error.contains(missing), qPrintable(error));
        QVERIFY(!device.open());
    }

    // Without a script the device plays a probe touching one point after the other: each
    // touch lasts long enough for the 15 samples a point needs, the values are plausible and
    // a new connection starts from the first point again.
    void simulatedProbe() {
        DeviceLibrary device;
        QVERIFY(device.load(virtualDevicePath()));

        auto takeValues = [&device](QList<int> *values, QList<int> *touchLengths,
                                    QList<int> *liftLengths) {
            QVERIFY(device.open());
            int touching = 0;
            int lifted = 0;
            for (int poll = 0; poll < 24 * 30 + 10; ++poll) {
                DeviceFrame frame;
                QVERIFY(device.getData(&frame));
                QVERIFY(frame.hasReading());
                const int v = converted(frame.raw());
                if (v > 0) {
                    if (lifted > 0)
                        liftLengths->append(lifted);
                    lifted = 0;
                    if (++touching == 15)
                        values->append(v);
                } else {
                    if (touching > 0)
                        touchLengths->append(touching);
                    touching = 0;
                    ++lifted;
                }
            }
            device.close();
        };

        QList<int> values, touches, lifts;
        takeValues(&values, &touches, &lifts);
        QCOMPARE(values.size(), 24);
        QCOMPARE(touches.size(), 24);
        for (int length : std::as_const(touches))
            QVERIFY2(length >= 16 && length <= 25, qPrintable(QString::number(length)));
        for (int length : std::as_const(lifts))
            QVERIFY2(length >= 5 && length <= 15, qPrintable(QString::number(length)));
        for (int v : std::as_const(values))
            QVERIFY2(v >= 40 && v <= 150, qPrintable(QString::number(v)));
        const auto [low, high] = std::minmax_element(values.cbegin(), values.cend());
        QVERIFY2(*high - *low >= 40, "the profile should show channels out of the corridor");

        QList<int> again, ignored1, ignored2;
        takeValues(&again, &ignored1, &ignored2);
        QCOMPARE(again, values);
    }

    void scriptedFrames() {
        DeviceScript script(*m_env, QStringLiteral("frames"),
                            "# frames of another kind pass through unchanged\n"
                            "frame 9 300 2\n"
                            "frame 6 258\n"
                            "frame x y\n"
                            "frame 6 70000\n"
                            "frame 6 5 0\n"
                            "bogus line\n"
                            "open-fail -1\n"
                            "  frame 6 1000 1  \r\n");
        DeviceLibrary device;
        QVERIFY(device.load(virtualDevicePath()));
        QVERIFY(device.open());

        QList<QPair<int, int>> frames;
        for (int i = 0; i < 6; ++i) {
            DeviceFrame frame;
            QVERIFY(device.getData(&frame));
            frames.append({frame.kind(), frame.raw()});
        }
        const QList<QPair<int, int>> expected = {{9, 0},    {9, 0}, {6, 258},
                                                 {6, 1000}, {6, 0}, {6, 0}};
        QCOMPARE(frames, expected);
        device.close();
    }

    void scriptedIdentifier_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("hid");
        QTest::addColumn<QString>("shown");

        QTest::newRow("probe") << QByteArray("id ProbeDevi") << QByteArray("ProbeDevi")
                               << QStringLiteral("Quorvane v1.0");
        QTest::newRow("unprogrammed") << QByteArray("id-hex FF FF FF FF FF FF FF FF FF")
                                      << QByteArray(9, char(0xFF)) << QStringLiteral("Default ID");
        QTest::newRow("too long for the buffer")
            << QByteArray("id ABCDEFGHIJKLMNOPQRSTUVWXYZ") << QByteArray("ABCDEFGHIJKLMNOPQRS")
            << QStringLiteral("ABCDEFGHIJKLMNOPQRS");
        QTest::newRow("bad hex keeps the default")
            << QByteArray("id-hex FFF") << QByteArray("VirtualDe")
            << QStringLiteral("Virtual Device v1.0");
    }
    void scriptedIdentifier() {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, hid);
        QFETCH(QString, shown);
        DeviceScript script(*m_env, QString::fromLatin1(QTest::currentDataTag()), line + '\n');
        DeviceLibrary device;
        QVERIFY(device.load(virtualDevicePath()));
        QVERIFY(device.open());
        QCOMPARE(device.hid(), hid);
        QCOMPARE(DeviceIdentity::displayName(device.hid()), shown);
        device.close();
    }

    void recordsTherapyCalls() {
        DeviceScript script(*m_env, QStringLiteral("therapy"), "record calls.txt\n");
        DeviceLibrary device;
        QVERIFY(device.load(virtualDevicePath()));
        QVERIFY(device.open());
        device.setColor(255, 128, 0, 7);
        device.setFq(3, 7.83f);
        device.setColor(0, 0, 0, 0);
        device.setFq(0, 0);
        device.close();
        const QStringList expected = {
            QStringLiteral("OPEN 1"),       QStringLiteral("SETCOLOR 255 128 0 7"),
            QStringLiteral("SETFQ 3 7.83"), QStringLiteral("SETCOLOR 0 0 0 0"),
            QStringLiteral("SETFQ 0 0"),    QStringLiteral("CLOSE"),
        };
        QCOMPARE(script.recorded(), expected);
    }

    // A script file that cannot be read gives a device that is never touched, not simulated
    // readings that a test might take for its own.
    void unreadableScriptMeansNoContact() {
        qputenv("VANDREL_DEVICE_SCRIPT", QFile::encodeName(m_env->scratch(QStringLiteral("none")) +
                                                           QStringLiteral("/missing.txt")));
        DeviceLibrary device;
        QVERIFY(device.load(virtualDevicePath()));
        QVERIFY(device.open());
        for (int i = 0; i < 40; ++i) {
            DeviceFrame frame;
            QVERIFY(device.getData(&frame));
            QCOMPARE(int(frame.raw()), 0);
        }
        device.close();
        qunsetenv("VANDREL_DEVICE_SCRIPT");
    }

private:
    std::unique_ptr<TestEnvironment> m_env;
};

QTEST_GUILESS_MAIN(TestDeviceLibrary)
#include "tst_device_library.moc"
