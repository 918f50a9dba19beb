#pragma once

#include <QLatin1String>
#include <QListWidget>
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

// The texts of a list's rows, top to bottom.
inline QStringList itemTexts(const QListWidget *list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts.append(list->item(row)->text());
    return texts;
}
