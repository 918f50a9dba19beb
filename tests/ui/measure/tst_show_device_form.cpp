// The window that announces a found device.
#include "measure/ShowDeviceForm.h"
#include "Screenshot.h"
#include "TestEnvironment.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <QTimer>

class TestShowDeviceForm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        m_env = std::make_unique<TestEnvironment>();
        m_owner = std::make_unique<QWidget>();
        m_owner->setGeometry(100, 100, 900, 600);
        m_owner->show();
        m_form = new ShowDeviceForm(m_owner.get());
    }
    void cleanup() {
        m_owner.reset();
        m_env.reset();
    }

    void showsNameAndClosesOnSecondTick() {
        QCOMPARE(m_form->objectName(), QStringLiteral("TShowDeviceForm"));
        auto *timer = m_form->findChild<QTimer *>(QStringLiteral("ShowDeviceTime"));
        auto *label = m_form->findChild<QLabel *>(QStringLiteral("DeviceName"));
        QVERIFY(timer && label);
        QCOMPARE(timer->interval(), 1000);

        m_form->showDevice(QStringLiteral("Virtual Device v1.0"));
        QCOMPARE(label->text(), QStringLiteral("Device ID: Virtual Device v1.0"));
        QVERIFY(m_form->isVisible());
        QVERIFY(timer->isActive());
        saveScreenshot(m_form, QStringLiteral("TShowDeviceForm"));

        QMetaObject::invokeMethod(timer, "timeout");
        QVERIFY2(m_form->isVisible(), "stays open over the first tick");
        QMetaObject::invokeMethod(timer, "timeout");
        QVERIFY(!m_form->isVisible());
        QVERIFY2(!timer->isActive(), "closing stops the timer");
    }

    // A device found again soon after gets its full two seconds.
    void showingAgainRestartsTheCountdown() {
        auto *timer = m_form->findChild<QTimer *>(QStringLiteral("ShowDeviceTime"));
        m_form->showDevice(QStringLiteral("Virtual Device v1.0"));
        QMetaObject::invokeMethod(timer, "timeout");
        m_form->close();
        QVERIFY(!timer->isActive());

        m_form->showDevice(QStringLiteral("Quorvane v1.0"));
        QCOMPARE(m_form->text(), QStringLiteral("Device ID: Quorvane v1.0"));
        QMetaObject::invokeMethod(timer, "timeout");
        QVERIFY(m_form->isVisible());
        QMetaObject::invokeMethod(timer, "timeout");
        QVERIFY(!m_form->isVisible());
    }

    void closesByItselfAfterAboutTwoSeconds() {
        QElapsedTimer clock;
        clock.start();
        m_form->showDevice(QStringLiteral("Virtual Device v1.0"));
        QTRY_VERIFY_WITH_TIMEOUT(!m_form->isVisible(), 5000);
        QVERIFY2(clock.elapsed() >= 1900, qPrintable(QString::number(clock.elapsed())));
    }

    void centredOverItsOwner() {
        m_form->showDevice(QStringLiteral("Virtual Device v1.0"));
        const QPoint offset = m_form->frameGeometry().center() - m_owner->frameGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 4,
                 qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
        QVERIFY(m_form->width() >=
                m_form->findChild<QLabel *>(QStringLiteral("DeviceName"))->sizeHint().width());
    }

private:
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<QWidget> m_owner;
    ShowDeviceForm *m_form = nullptr;
};

QTEST_MAIN(TestShowDeviceForm)
#include "tst_show_device_form.moc"
