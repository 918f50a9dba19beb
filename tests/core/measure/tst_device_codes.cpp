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
        QTest::newRow("virtual device") << QByteArray("VirtualDe") << "Virtual Device v1.0";
        QTest::newRow("probe") << QByteArray("ProbeDevi") << "Quorvane v1.0";
        QTest::newRow("unprogrammed") << QByteArray(9, char(0xFF)) << "Default ID";
        QTest::newRow("eight 0xFF bytes are not the default")
            << QByteArray(8, char(0xFF)) << QString(8, QChar(0x044F));
        QTest::newRow("case matters") << QByteArray("virtualde") << "virtualde";
        QTest::newRow("longer identifier") << QByteArray("VirtualDev") << "VirtualDev";
        QTest::newRow("Cyrillic identifier") << QByteArray("\xC4\xE0\xF2\xF7\xE8\xEA") << "Датчик";
        QTest::newRow("empty") << QByteArray() << "";
    }
    void displayName() {
        QFETCH(QByteArray, identifier);
        QTEST(DeviceIdentity::displayName(identifier), "shown");
    }

private:
    std::unique_ptr<TestEnvironment> m_env;
};

QTEST_GUILESS_MAIN(TestDeviceCodes)
#include "tst_device_codes.moc"
