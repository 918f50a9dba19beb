#include "measure/DeviceIdentity.h"

#include "common/Cp1251.h"

QString DeviceIdentity::displayName(const QByteArray &identifier) {
    if (identifier == QByteArrayLiteral("VirtualDe"))
        return QStringLiteral("Virtual Device v1.0");
    if (identifier == QByteArrayLiteral("ProbeDevi"))
        return QStringLiteral("Quorvane v1.0");
    if (identifier == QByteArray(9, char(0xFF)))
        return QStringLiteral("Default ID");
    // Identifiers are bytes; read them in the program's code page like every other text.
    return Cp1251::decode(identifier);
}

QString DeviceIdentity::labelText(const QString &name, const DeviceWords &words) {
    return QStringLiteral("  ") + foundText(name, words);
}

QString DeviceIdentity::notConnectedText(const DeviceWords &words) {
    return labelText(words.notConnected, words);
}

QString DeviceIdentity::foundText(const QString &name, const DeviceWords &words) {
    return words.caption + QLatin1Char(' ') + name;
}
