#pragma once

#include "ryodoraku/AnatomyLibrary.h"

#include <QObject>
#include <QPointer>
#include <QString>

class DataModule;
class QWidget;
struct TestRecord;

// The anatomy display of the "3D MODEL" box: loads the display library on first use, grades
// the chosen test and shows it with the body model of the client's sex, keeps the display
// beside the main window, and closes it. A missing library is told to the user once per
// attempt; the program carries on without the display.
class AnatomyController : public QObject {
    Q_OBJECT
public:
    // `owner` parents the messages; the display follows the window `owner` lives in.
    AnatomyController(DataModule *data, QWidget *owner);
    ~AnatomyController() override;

    // Where the library is looked for (without suffix); the install folder's by default.
    void setLibraryPath(const QString &path) { m_libraryPath = path; }
    QString libraryPath() const { return m_libraryPath; }

    // Shows test `codeTest` of the base; with no such test, closes the display. False when the
    // library could not be loaded: the user has been told, and nothing is shown.
    bool showTest(int codeTest);
    bool show(const TestRecord &test, const QString &sexCode);
    // The display's words in the interface language.
    static AnatomyLibrary::Captions captions();
    void close();

    bool isOpen() const { return m_library.isOpen(); }
    bool isLoaded() const { return m_library.isLoaded(); }
    QObject *display() const { return m_library.window(); }
    // Puts the display at the right of the main window, on screen; when it must lie over the
    // window, never over `keepClear` (the box that closes it).
    void place();
    void setKeepClear(QWidget *widget) { m_keepClear = widget; }

Q_SIGNALS:
    // The display window was closed from its own frame, not by this controller.
    void closedByUser();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool ensureLoaded();
    void follow(QWidget *window);

    QPointer<DataModule> m_data;
    QPointer<QWidget> m_owner;
    QPointer<QWidget> m_followed;
    QPointer<QWidget> m_keepClear;
    QString m_libraryPath;
    AnatomyLibrary m_library;
};
