// The exports of the anatomy display (AnatomyAbi.h). Each forwards to the window the handle
// names; a null handle is ignored.
#include "ryodoraku/AnatomyAbi.h"

#include "TDisplayForm.h"

#include <QApplication>
#include <QString>

namespace {

TDisplayForm *form(void *handle) {
    return static_cast<TDisplayForm *>(handle);
}

} // namespace

extern "C" {

void *ShowMainForm(int bodyModel) {
    // A window needs the program's widget application; without one there is nothing to show.
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return nullptr;
    auto *window = new TDisplayForm(bodyModel);
    window->show();
    return window;
}

void SetColor(void *handle, int region, int color) {
    if (handle)
        form(handle)->setRegionColor(region, color);
}

void SetStatisticsLine(void *handle, const char *text) {
    if (handle)
        form(handle)->addStatisticsLine(text ? QString::fromUtf8(text) : QString());
}

void SetStatisticsColor(void *handle, int red, int green, int blue) {
    if (handle)
        form(handle)->setLastStatisticsColor(red, green, blue);
}

void SetCaption(void *handle, const char *key, const char *text) {
    if (handle && key && text)
        form(handle)->setCaption(QString::fromUtf8(key), QString::fromUtf8(text));
}

} // extern "C"
