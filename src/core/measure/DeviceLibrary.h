#pragma once

#include "measure/DeviceAbi.h"

#include <QByteArray>
#include <QLibrary>
#include <QString>

class DeviceFrame;

// The measuring-device library, loaded at run time by path and reached only through its
// eleven C exports (DeviceAbi.h). One instance serves the whole program: the main window
// owns it and hands it to the device search, the measurement and the therapy players.
// Every call is harmless while no library is loaded (false, empty, or nothing).
class DeviceLibrary {
public:
    DeviceLibrary();
    ~DeviceLibrary();
    DeviceLibrary(const DeviceLibrary &) = delete;
    DeviceLibrary &operator=(const DeviceLibrary &) = delete;

    // Loads the library at `path`, given without suffix ("<maker folder>/Data/device1" finds
    // device1.so). A library that cannot be loaded or lacks any export is refused and left
    // unloaded; `error` then says why (which exports are missing). Replaces any library
    // loaded before.
    bool load(const QString &path, QString *error = nullptr);
    void unload();
    bool isLoaded() const { return m_loaded; }
    // The file name of the loaded library, such as "device1.so"; empty when none is loaded.
    QString fileName() const;
    // The file name load() looks for at `path`: ".../Data/device1" -> "device1.so". For the
    // message that names a library that could not be loaded.
    static QString fileNameFor(const QString &path);

    bool open();
    // The identifier GETHID reports: the bytes of its 20-byte buffer up to the first zero.
    QByteArray hid();
    // Polls one frame. False when the device is lost (or no library is loaded); `frame` then
    // holds no reading.
    bool getData(DeviceFrame *frame);
    void setBeep(int a, int b, int signal);
    void setColor(quint8 red, quint8 green, quint8 blue, quint8 rate);
    void setFq(int power, float hz);
    void close();

private:
    void clearEntryPoints();

    QLibrary m_library;
    bool m_loaded = false;
    DeviceOpenFn m_open = nullptr;
    DeviceGetHidFn m_getHid = nullptr;
    DeviceGetDataFn m_getData = nullptr;
    DeviceSetBeepFn m_setBeep = nullptr;
    DeviceSetColorFn m_setColor = nullptr;
    DeviceSetFqFn m_setFq = nullptr;
    DeviceCloseFn m_close = nullptr;
    DeviceGetDllInfoFn m_getDllInfo = nullptr;
    DeviceShowSetupDialogFn m_showSetupDialog = nullptr;
    DeviceSetParamFn m_setParam = nullptr;
    DeviceGetParamFn m_getParam = nullptr;
};
