#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class DeviceLibrary;

// The search for the measuring device: the timer `USB_FIND` tries to open the device every
// 5 seconds until it answers, then stops. After a lost device the measurement calls
// restartAfterLoss(); the next tick closes the stale connection, the one after reopens it.
class DeviceSearch : public QObject {
    Q_OBJECT
public:
    static constexpr int IntervalMs = 5000;

    // `library` must outlive the search.
    explicit DeviceSearch(DeviceLibrary *library, QObject *parent = nullptr);

    // Starts searching; does nothing when no library is loaded.
    void start();
    void stop();
    // One search step, as the timer runs it (tests call it directly).
    void tick();
    // The device stopped answering: search again, closing the old connection first.
    void restartAfterLoss();
    // For program exit: stops searching and closes the device if it is open.
    void closeIfConnected();

    bool isConnected() const { return m_connected; }
    bool isSearching() const { return m_timer.isActive(); }
    // The display name of the device last found; empty before.
    QString displayName() const { return m_displayName; }
    QTimer *timer() { return &m_timer; }

Q_SIGNALS:
    // OPEN failed; the measuring page disables its next/previous controls.
    void openFailed();
    // The device answered; `displayName` as DeviceIdentity shows it. The search has stopped
    // and isConnected() is true when this arrives.
    void deviceFound(const QString &displayName);
    // The search closed a connection it had marked open (after a lost device).
    void deviceClosed();

private:
    DeviceLibrary *m_library;
    QTimer m_timer;
    bool m_connected = false;
    QString m_displayName;
};
