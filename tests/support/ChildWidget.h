#pragma once

#include <QLatin1String>
#include <QObject>
#include <QtGlobal>

// A control of a window by its objectName; a test cannot go on without it.
template <typename T> T *child(QObject *parent, const QString &name)
{
    T *widget = parent->findChild<T *>(name);
    if (!widget)
        qFatal("no widget %s", qPrintable(name));
    return widget;
}

template <typename T> T *child(QObject *parent, const char *name)
{
    return child<T>(parent, QLatin1String(name));
}
