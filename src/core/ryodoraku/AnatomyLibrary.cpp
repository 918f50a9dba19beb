#include "ryodoraku/AnatomyLibrary.h"

#include "app/AppPaths.h"
#include "ryodoraku/AnatomyGrading.h"

#include <QFileInfo>
#include <QStringList>

#include <type_traits>

static_assert(std::is_same_v<decltype(&ShowMainForm), AnatomyShowMainFormFn>);
static_assert(std::is_same_v<decltype(&SetColor), AnatomySetColorFn>);
static_assert(std::is_same_v<decltype(&SetStatisticsLine), AnatomySetStatisticsLineFn>);
static_assert(std::is_same_v<decltype(&SetStatisticsColor), AnatomySetStatisticsColorFn>);
static_assert(std::is_same_v<decltype(&SetCaption), AnatomySetCaptionFn>);

// The library is not unloaded: its window class lives in it, and Qt may still hold events
// for the destroyed window.
AnatomyLibrary::~AnatomyLibrary() {
    close();
}

QString AnatomyLibrary::fileName() {
#if defined(Q_OS_WIN)
    return baseName() + QStringLiteral(".dll");
#elif defined(Q_OS_MACOS)
    return baseName() + QStringLiteral(".dylib");
#else
    return baseName() + QStringLiteral(".so");
#endif
}

QString AnatomyLibrary::defaultPath() {
    return AppPaths::installFolder() + QLatin1Char('/') + baseName();
}

bool AnatomyLibrary::load(const QString &path, QString *error) {
    if (m_loaded)
        return true;
    m_library.setFileName(path);
    if (!m_library.load()) {
        if (error)
            *error = m_library.errorString();
        return false;
    }
    QStringList missing;
    auto resolve = [this, &missing](const char *name, auto &target) {
        target =
            reinterpret_cast<std::remove_reference_t<decltype(target)>>(m_library.resolve(name));
        if (!target)
            missing.append(QLatin1String(name));
    };
    resolve("ShowMainForm", m_showMainForm);
    resolve("SetColor", m_setColor);
    resolve("SetStatisticsLine", m_setStatisticsLine);
    resolve("SetStatisticsColor", m_setStatisticsColor);
    if (!missing.isEmpty()) {
        if (error)
            *error = QStringLiteral("%1 does not export %2")
                         .arg(QFileInfo(m_library.fileName()).fileName(),
                              missing.join(QStringLiteral(", ")));
        m_library.unload();
        return false;
    }
    // A library without words of its own to change is still a display.
    m_setCaption = reinterpret_cast<AnatomySetCaptionFn>(m_library.resolve("SetCaption"));
    m_loaded = true;
    return true;
}

bool AnatomyLibrary::show(int bodyModel, const AnatomyGrading &grading, const Captions &captions) {
    close();
    if (!m_loaded)
        return false;
    void *handle = m_showMainForm(bodyModel);
    if (!handle)
        return false;
    m_window = static_cast<QObject *>(handle);
    if (m_setCaption) {
        for (const auto &[key, text] : captions)
            m_setCaption(handle, key.constData(), text.toUtf8().constData());
    }
    for (const auto &region : grading.regions)
        m_setColor(handle, region.region, region.colorValue);
    for (const auto &line : grading.lines) {
        m_setStatisticsLine(handle, line.text.toUtf8().constData());
        m_setStatisticsColor(handle, line.color.red(), line.color.green(), line.color.blue());
    }
    return true;
}

void AnatomyLibrary::moveTo(const QPoint &topLeft) {
    if (m_window)
        m_window->setProperty("pos", topLeft);
}

void AnatomyLibrary::close() {
    delete m_window.data();
    m_window.clear();
}
