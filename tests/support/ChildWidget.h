#pragma once

#include <QLatin1String>
#include <QObject>
#include <QtGlobal>

// A control of a window by its objectName; a test cannot go on without it.
template <typename T> T *child(QObject *parent, const char *name)
{
    T *widget = parent->findChild<T *>(QLatin1String(name));
    if (!widget)
        qFatal("no widget %s", name);
    return widget;
}
