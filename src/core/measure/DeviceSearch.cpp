#include "measure/DeviceSearch.h"

#include "measure/DeviceIdentity.h"
#include "measure/DeviceLibrary.h"

DeviceSearch::DeviceSearch(DeviceLibrary *library, QObject *parent)
    : QObject(parent)
    , m_library(library)
    , m_timer(this) {
    m_timer.setObjectName(QStringLiteral("USB_FIND"));
    m_timer.setInterval(IntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &DeviceSearch::tick);
}

void DeviceSearch::start() {
    if (m_library && m_library->isLoaded())
        m_timer.start();
}

void DeviceSearch::stop() {
    m_timer.stop();
}

void DeviceSearch::tick() {
    if (!m_library || !m_library->isLoaded())
        return;
    if (m_connected) {
        // A connection marked open while searching is a lost one: close it now, reopen on
        // the next tick.
        m_library->close();
        m_connected = false;
        Q_EMIT deviceClosed();
        return;
    }
    if (!m_library->open()) {
        Q_EMIT openFailed();
        return;
    }
    m_timer.stop();
    m_displayName = DeviceIdentity::displayName(m_library->hid());
    m_connected = true;
    Q_EMIT deviceFound(m_displayName);
}

void DeviceSearch::restartAfterLoss() {
    if (m_library && m_library->isLoaded())
        m_timer.start();
}

void DeviceSearch::closeIfConnected() {
    m_timer.stop();
    if (m_connected && m_library && m_library->isLoaded())
        m_library->close();
    m_connected = false;
}
