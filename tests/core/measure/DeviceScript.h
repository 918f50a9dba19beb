#pragma once

#include "TestEnvironment.h"

#include <QFile>
#include <QStringList>
#include <QTest>

// Writes a script for the virtual device into the test's profile and points the device at
// it; the device reads it at its next OPEN.
struct DeviceScript {
    QString folder;
    QString path;

    DeviceScript(const TestEnvironment &env, const QString &name, const QByteArray &text)
        : folder(env.scratch(name))
        , path(folder + QStringLiteral("/script.txt")) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write the device script");
        file.write(text);
        file.close();
        qputenv("VANDREL_DEVICE_SCRIPT", QFile::encodeName(path));
    }
    ~DeviceScript() { qunsetenv("VANDREL_DEVICE_SCRIPT"); }

    // The lines the device recorded into "calls.txt" beside the script.
    QStringList recorded() const {
        QFile file(folder + QStringLiteral("/calls.txt"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
};
