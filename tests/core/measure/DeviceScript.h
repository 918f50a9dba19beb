#pragma once

#include "TestEnvironment.h"

#include <QFile>
#include <QStringList>

// Points the virtual device at a script in the test's profile (read at its next OPEN); a null
// text leaves the file unwritten, so the device meets a script it cannot read.
struct DeviceScript {
    QString folder;

    DeviceScript(const TestEnvironment &env, const QString &name, const QByteArray &text)
        : folder(env.scratch(name)) {
        QFile file(folder + "/script.txt");
        if (!text.isNull() && (!file.open(QIODevice::WriteOnly) || file.write(text) < 0))
            qFatal("cannot write the device script");
        qputenv("VANDREL_DEVICE_SCRIPT", QFile::encodeName(file.fileName()));
    }
    ~DeviceScript() { qunsetenv("VANDREL_DEVICE_SCRIPT"); }

    // The lines the device recorded into "calls.txt" beside the script.
    QStringList recorded() const {
        QFile file(folder + "/calls.txt");
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
};
