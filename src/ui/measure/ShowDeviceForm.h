#pragma once

#include "measure/DeviceIdentity.h"

#include <QTimer>
#include <QWidget>

class QLabel;

// The small window that announces a device the search has just found. It shows
// "Device ID: <name>" and closes itself about two seconds later (second tick of
// `ShowDeviceTime`).
class ShowDeviceForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int TickMs = 1000;
    static constexpr int TicksShown = 2;

    explicit ShowDeviceForm(QWidget *parent = nullptr);

    // The device words of the interface language.
    static DeviceWords words();

    // Shows the window centred over its parent (or the screen) with the device's name.
    void showDevice(const QString &displayName);
    QString text() const;

protected:
    void hideEvent(QHideEvent *event) override;

private:
    void onTick();
    void centre();

    QLabel *m_name;
    QTimer m_timer;
    int m_ticks = 0;
};
