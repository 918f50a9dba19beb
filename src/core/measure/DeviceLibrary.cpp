#include "measure/DeviceLibrary.h"

#include "measure/DeviceFrame.h"

#include <QFileInfo>
#include <QStringList>

#include <cstring>
#include <type_traits>

// The pointer types the loader uses must be those of the library's prototypes.
static_assert(std::is_same_v<decltype(&OPEN), DeviceOpenFn>);
static_assert(std::is_same_v<decltype(&GETHID), DeviceGetHidFn>);
static_assert(std::is_same_v<decltype(&GETDATA), DeviceGetDataFn>);
static_assert(std::is_same_v<decltype(&SETBEEP), DeviceSetBeepFn>);
static_assert(std::is_same_v<decltype(&SETCOLOR), DeviceSetColorFn>);
static_assert(std::is_same_v<decltype(&SETFQ), DeviceSetFqFn>);
static_assert(std::is_same_v<decltype(&CLOSE), DeviceCloseFn>);
static_assert(std::is_same_v<decltype(&GETDLLINFO), DeviceGetDllInfoFn>);
static_assert(std::is_same_v<decltype(&SHOWSETUPDIALOG), DeviceShowSetupDialogFn>);
static_assert(std::is_same_v<decltype(&SETPARAM), DeviceSetParamFn>);
static_assert(std::is_same_v<decltype(&GETPARAM), DeviceGetParamFn>);

namespace {

// Room beyond what the contract allows, so a careless library writing a few bytes too many
// does not overwrite the program's stack.
constexpr int GuardBytes = 60;

template <typename Fn>
void resolve(QLibrary &library, const char *name, Fn &target, QStringList &missing) {
    target = reinterpret_cast<Fn>(library.resolve(name));
    if (!target)
        missing.append(QLatin1String(name));
}

} // namespace

DeviceLibrary::DeviceLibrary() = default;

// The library stays mapped until the process ends: it is process-wide and other instances
// may share it.
DeviceLibrary::~DeviceLibrary() = default;

bool DeviceLibrary::load(const QString &path, QString *error) {
    unload();
    m_library.setFileName(path);
    m_library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
    if (!m_library.load()) {
        if (error)
            *error = QStringLiteral("Cannot load the device library %1: %2")
                         .arg(path, m_library.errorString());
        return false;
    }

    QStringList missing;
    resolve(m_library, "OPEN", m_open, missing);
    resolve(m_library, "GETHID", m_getHid, missing);
    resolve(m_library, "GETDATA", m_getData, missing);
    resolve(m_library, "SETBEEP", m_setBeep, missing);
    resolve(m_library, "SETCOLOR", m_setColor, missing);
    resolve(m_library, "SETFQ", m_setFq, missing);
    resolve(m_library, "CLOSE", m_close, missing);
    resolve(m_library, "GETDLLINFO", m_getDllInfo, missing);
    resolve(m_library, "SHOWSETUPDIALOG", m_showSetupDialog, missing);
    resolve(m_library, "SETPARAM", m_setParam, missing);
    resolve(m_library, "GETPARAM", m_getParam, missing);
    if (!missing.isEmpty()) {
        if (error)
            *error = QStringLiteral("The device library %1 does not export %2")
                         .arg(QFileInfo(m_library.fileName()).fileName(),
                              missing.join(QStringLiteral(", ")));
        clearEntryPoints();
        m_library.unload();
        return false;
    }
    m_loaded = true;
    if (error)
        error->clear();
    return true;
}

void DeviceLibrary::unload() {
    if (m_loaded)
        m_library.unload();
    m_loaded = false;
    clearEntryPoints();
}

QString DeviceLibrary::fileName() const {
    return m_loaded ? QFileInfo(m_library.fileName()).fileName() : QString();
}

QString DeviceLibrary::fileNameFor(const QString &path) {
    const QString name = QFileInfo(path).fileName();
    if (name.isEmpty() || QLibrary::isLibrary(name))
        return name;
#if defined(Q_OS_WIN)
    return name + QStringLiteral(".dll");
#elif defined(Q_OS_MACOS)
    return name + QStringLiteral(".dylib");
#else
    return name + QStringLiteral(".so");
#endif
}

bool DeviceLibrary::open() {
    return m_loaded && m_open() != 0;
}

QByteArray DeviceLibrary::hid() {
    if (!m_loaded)
        return {};
    char buffer[VANDREL_DEVICE_HID_SIZE + GuardBytes] = {};
    m_getHid(buffer);
    // Only the contract's 20 bytes count, terminated or not.
    return QByteArray(buffer, int(strnlen(buffer, VANDREL_DEVICE_HID_SIZE)));
}

bool DeviceLibrary::getData(DeviceFrame *frame) {
    unsigned char buffer[VANDREL_DEVICE_FRAME_SIZE + GuardBytes] = {};
    const bool alive = m_loaded && m_getData(buffer) != 0;
    if (frame)
        *frame = alive ? DeviceFrame::fromBytes(buffer) : DeviceFrame();
    return alive;
}

void DeviceLibrary::setBeep(int a, int b, int signal) {
    if (m_loaded)
        m_setBeep(a, b, signal);
}

void DeviceLibrary::setColor(quint8 red, quint8 green, quint8 blue, quint8 rate) {
    if (m_loaded)
        m_setColor(red, green, blue, rate);
}

void DeviceLibrary::setFq(int power, float hz) {
    if (m_loaded)
        m_setFq(power, hz);
}

void DeviceLibrary::close() {
    if (m_loaded)
        m_close();
}

void DeviceLibrary::clearEntryPoints() {
    m_open = nullptr;
    m_getHid = nullptr;
    m_getData = nullptr;
    m_setBeep = nullptr;
    m_setColor = nullptr;
    m_setFq = nullptr;
    m_close = nullptr;
    m_getDllInfo = nullptr;
    m_showSetupDialog = nullptr;
    m_setParam = nullptr;
    m_getParam = nullptr;
}
