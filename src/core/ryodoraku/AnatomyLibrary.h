#pragma once

#include "ryodoraku/AnatomyAbi.h"

#include <QByteArray>
#include <QLibrary>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>

#include <utility>

struct AnatomyGrading;

// The optional anatomy display, loaded on demand from the install folder. A missing library
// is reported as not loadable; the caller tells the user ("NotFoundFile" + " anatomy.so") and
// carries on without the display.
class AnatomyLibrary {
public:
    AnatomyLibrary() = default;
    ~AnatomyLibrary();
    AnatomyLibrary(const AnatomyLibrary &) = delete;
    AnatomyLibrary &operator=(const AnatomyLibrary &) = delete;

    static QString baseName() { return QStringLiteral("anatomy"); }
    static QString fileName();    // "anatomy.so" on this system: for the message
    static QString defaultPath(); // <install folder>/anatomy

    // Loads the library at `path` (without suffix); false, with the reason in `error`, when it
    // is missing or lacks an export.
    bool load(const QString &path = defaultPath(), QString *error = nullptr);
    bool isLoaded() const { return m_loaded; }

    // The window's words by caption key ("head", "female", ...), in the interface language.
    using Captions = QList<std::pair<QByteArray, QString>>;

    // Opens the display (closing one open before) and sends it its words, the regions and the
    // lines. False when nothing is loaded or the library could not open its window.
    bool show(int bodyModel, const AnatomyGrading &grading, const Captions &captions = {});
    bool isOpen() const { return !m_window.isNull(); }
    QObject *window() const { return m_window.data(); }
    void moveTo(const QPoint &topLeft);
    // Destroys the display window; the library stays mapped for the next showing.
    void close();

private:
    QLibrary m_library;
    bool m_loaded = false;
    QPointer<QObject> m_window;
    AnatomyShowMainFormFn m_showMainForm = nullptr;
    AnatomySetColorFn m_setColor = nullptr;
    AnatomySetStatisticsLineFn m_setStatisticsLine = nullptr;
    AnatomySetStatisticsColorFn m_setStatisticsColor = nullptr;
    AnatomySetCaptionFn m_setCaption = nullptr; // optional
};
