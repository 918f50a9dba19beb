#pragma once

#include <QByteArray>
#include <QString>

// What the program shows for a device: its identifier turned into a display name, and the
// texts of the device label and of the device-found window.
class DeviceIdentity {
public:
    // "VirtualDe" -> "Virtual Device v1.0", "ProbeDevi" -> "Quorvane v1.0", nine 0xFF bytes
    // (an identifier never programmed) -> "Default ID"; any other identifier as it stands.
    static QString displayName(const QByteArray &identifier);

    // The device label: "  Device ID: " + name.
    static QString labelText(const QString &name);
    // The device label while no device is connected.
    static QString notConnectedText();
    // The caption of the device-found window: "Device ID: " + name.
    static QString foundText(const QString &name);
};
