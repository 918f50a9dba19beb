// The device search through the real loader and the scripted virtual device.
#include "DeviceScript.h"
#include "measure/DeviceFrame.h"
#include "measure/DeviceLibrary.h"
#include "measure/DeviceSearch.h"
#include "TestEnvironment.h"

#include <QSignalSpy>
#include <QTest>

class TestDeviceSearch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        m_env = std::make_unique<TestEnvironment>();
        m_device = std::make_unique<DeviceLibrary>();
        QString error;
        QVERIFY2(m_device->load(
                     TestEnvironment::installDir() + QStringLiteral("/DeviceData/device1"), &error),
                 qPrintable(error));
    }
    void cleanup() {
        m_device.reset();
        m_env.reset();
        qunsetenv("VANDREL_DEVICE_SCRIPT");
    }

    void foundOnlyWhenOpenSucceedsAndClosedOnce() {
        DeviceScript script(*m_env, QStringLiteral("open"), "record calls.txt\nopen-fail 2\n");
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
        QCOMPARE(found.at(0).at(0).toString(), QStringLiteral("Virtual Device v1.0"));
        QCOMPARE(search.displayName(), QStringLiteral("Virtual Device v1.0"));
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
        DeviceScript script(*m_env, QStringLiteral("lost"),
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
        DeviceScript script(*m_env, QStringLiteral("timer"), "open-fail 1\n");
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

QTEST_GUILESS_MAIN(TestDeviceSearch)
#include "tst_device_search.moc"
