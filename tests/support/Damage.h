#pragma once

#include "common/Cp1251.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

// The ways a file of the data or install folder is found damaged: a crash during a write, a
// full disk, a copy gone wrong, an editor that saved in UTF-8, a folder made by mistake.
namespace Damage {

enum Kind { Empty, Half, Random, Huge, Utf8, Folder };

inline QStringList names()
{
    return {QStringLiteral("empty"), QStringLiteral("half"),  QStringLiteral("random"),
            QStringLiteral("5 MB"),  QStringLiteral("UTF-8"), QStringLiteral("folder")};
}

inline QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Damages `path` in place; false when the file could not be written.
inline bool apply(const QString &path, Kind kind, quint32 seed = 1)
{
    const QByteArray original = bytesOf(path);
    QByteArray damaged;
    switch (kind) {
    case Empty:
        break;
    case Half:
        damaged = original.left(original.size() / 2);
        break;
    case Random: {
        damaged.resize(qMax<qsizetype>(original.size(), 64));
        QRandomGenerator random(seed);
        for (char &c : damaged)
            c = char(random.bounded(256));
        break;
    }
    case Huge:
        damaged = original.isEmpty() ? QByteArray("x=1\r\n") : original;
        while (damaged.size() < 5 * 1024 * 1024)
            damaged += damaged;
        damaged.truncate(5 * 1024 * 1024);
        break;
    case Utf8:
        damaged = Cp1251::decode(original).toUtf8();
        break;
    case Folder:
        return QFile::remove(path) && QDir().mkpath(path + QStringLiteral("/inside"));
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
           && file.write(damaged) == damaged.size();
}

} // namespace Damage
