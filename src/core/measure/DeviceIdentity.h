#pragma once

#include <QByteArray>
#include <QString>

// The words of the device texts in the interface language; the defaults are the English ones.
struct DeviceWords {
    QString caption = QStringLiteral("Device ID:");
    QString notConnected = QStringLiteral("device is not connected.");
};

// What the program shows for a device: its identifier turned into a display name, and the
// texts of the device label and of the device-found window.
class DeviceIdentity {
public:
    // "VirtualDe" -> "Virtual Device v1.0", "ProbeDevi" -> "Quorvane v1.0", nine 0xFF bytes
    // (an identifier never programmed) -> "Default ID"; any other identifier as it stands.
    static QString displayName(const QByteArray &identifier);

    // The device label: "  Device ID: " + name.
    static QString labelText(const QString &name, const DeviceWords &words = DeviceWords());
    // The device label while no device is connected.
    static QString notConnectedText(const DeviceWords &words = DeviceWords());
    // The caption of the device-found window: "Device ID: " + name.
    static QString foundText(const QString &name, const DeviceWords &words = DeviceWords());
};
