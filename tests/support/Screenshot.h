#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QWidget>

// Saves a picture of a window for people to look at, when VANDREL_SCREENSHOTS names a folder.
inline void saveScreenshot(QWidget *widget, const QString &name)
{
    const QString folder = qEnvironmentVariable("VANDREL_SCREENSHOTS");
    if (folder.isEmpty() || !widget)
        return;
    QDir().mkpath(folder);
    // Let pending layouts and scene updates (charts, long question lists, web views) land
    // first, so the picture shows what a person would see a moment after the click.
    const QDeadlineTimer settle(100);
    while (!settle.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    widget->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

// The same for a picture drawn off screen.
inline void saveScreenshot(const QImage &image, const QString &name)
{
    const QString folder = qEnvironmentVariable("VANDREL_SCREENSHOTS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    image.save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}
