// How device frames are read and how device identifiers are shown.
#include "measure/DeviceFrame.h"
#include "measure/DeviceIdentity.h"
#include "TestEnvironment.h"

#include <QTest>

class TestDeviceCodes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { m_env = std::make_unique<TestEnvironment>(); }

    void frame_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("hasReading");
        QTest::addColumn<int>("raw");

        QTest::newRow("reading, low byte only") << QByteArray("\x06\x00\x78\x00", 4) << true << 120;
        QTest::newRow("reading, byte 1 is the high byte")
            << QByteArray("\x06\x01\x02\x00", 4) << true << 258;
        QTest::newRow("largest reading") << QByteArray("\x06\xFF\xFF\x00", 4) << true << 65535;
        QTest::newRow("no contact") << QByteArray("\x06\x00\x00\x00", 4) << true << 0;
        QTest::newRow("byte 3 is not part of the reading")
            << QByteArray("\x06\x00\x10\xFF", 4) << true << 16;
        QTest::newRow("other kind carries no reading")
            << QByteArray("\x05\x01\x02\x00", 4) << false << 0;
        QTest::newRow("kind 0") << QByteArray("\x00\x00\x64\x00", 4) << false << 0;
        QTest::newRow("kind 0x86 is not kind 6") << QByteArray("\x86\x00\x64\x00", 4) << false << 0;
    }
    void frame() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, hasReading);
        QFETCH(int, raw);
        const DeviceFrame frame =
            DeviceFrame::fromBytes(reinterpret_cast<const unsigned char *>(bytes.constData()));
        QCOMPARE(frame.hasReading(), hasReading);
        QCOMPARE(int(frame.raw()), raw);
    }

    void displayName_data() {
        QTest::addColumn<QByteArray>("identifier");
        QTest::addColumn<QString>("shown");

        QTest::newRow("virtual device")
            << QByteArray("VirtualDe") << QStringLiteral("Virtual Device v1.0");
        QTest::newRow("probe") << QByteArray("ProbeDevi") << QStringLiteral("Quorvane v1.0");
        QTest::newRow("unprogrammed") << QByteArray(9, char(0xFF)) << QStringLiteral("Default ID");
        QTest::newRow("eight 0xFF bytes are not the default")
            << QByteArray(8, char(0xFF)) << QString(8, QChar(0x044F));
        QTest::newRow("case matters") << QByteArray("virtualde") << QStringLiteral("virtualde");
        QTest::newRow("longer identifier")
            << QByteArray("VirtualDev") << QStringLiteral("VirtualDev");
        QTest::newRow("other device") << QByteArray("QX-204 #17") << QStringLiteral("QX-204 #17");
        QTest::newRow("Cyrillic identifier")
            << QByteArray("\xC4\xE0\xF2\xF7\xE8\xEA") << QStringLiteral("Датчик");
        QTest::newRow("empty") << QByteArray() << QString();
    }
    void displayName() {
        QFETCH(QByteArray, identifier);
        QFETCH(QString, shown);
        QCOMPARE(DeviceIdentity::displayName(identifier), shown);
    }

    void labelTexts() {
        QCOMPARE(DeviceIdentity::labelText(QStringLiteral("Virtual Device v1.0")),
                 QStringLiteral("  Device ID: Virtual Device v1.0"));
        QCOMPARE(DeviceIdentity::notConnectedText(),
                 QStringLiteral("  Device ID: device is not connected."));
        QCOMPARE(DeviceIdentity::foundText(QStringLiteral("Quorvane v1.0")),
                 QStringLiteral("Device ID: Quorvane v1.0"));
    }

private:
    std::unique_ptr<TestEnvironment> m_env;
};

QTEST_GUILESS_MAIN(TestDeviceCodes)
#include "tst_device_codes.moc"
