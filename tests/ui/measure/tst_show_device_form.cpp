// The window that announces a found device.
#include "ChildWidget.h"
#include "measure/ShowDeviceForm.h"
#include "TestEnvironment.h"

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
        auto *timer = child<QTimer>(m_form, "ShowDeviceTime");
        auto *label = child<QLabel>(m_form, "DeviceName");
        m_form->showDevice(QStringLiteral("Virtual Device v1.0"));
        QCOMPARE(label->text(), QStringLiteral("Device ID: Virtual Device v1.0"));
        QVERIFY(timer->isActive());
        QMetaObject::invokeMethod(timer, "timeout");
        QVERIFY2(m_form->isVisible(), "stays open over the first tick");
        QMetaObject::invokeMethod(timer, "timeout");
        QVERIFY(!m_form->isVisible());
        QVERIFY2(!timer->isActive(), "closing stops the timer");

        // Closed after one tick and found again at once: the full two seconds again.
        m_form->showDevice(QStringLiteral("Virtual Device v1.0"));
        QMetaObject::invokeMethod(timer, "timeout");
        m_form->close();
        m_form->showDevice(QStringLiteral("Quorvane v1.0"));
        QCOMPARE(label->text(), QStringLiteral("Device ID: Quorvane v1.0"));
        QMetaObject::invokeMethod(timer, "timeout");
        QVERIFY(m_form->isVisible());
        QMetaObject::invokeMethod(timer, "timeout");
        QVERIFY(!m_form->isVisible());
    }

    void centredOverItsOwner() {
        m_form->showDevice(QStringLiteral("Virtual Device v1.0"));
        const QPoint offset = m_form->frameGeometry().center() - m_owner->frameGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 4,
                 qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
        QVERIFY(m_form->width() >= child<QLabel>(m_form, "DeviceName")->sizeHint().width());
    }

private:
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<QWidget> m_owner;
    ShowDeviceForm *m_form = nullptr;
};

QTEST_MAIN(TestShowDeviceForm)
#include "tst_show_device_form.moc"
