#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

// What the program does when the desktop session ends it (SIGTERM, SIGINT): every question
// still open is answered as cancelled and no new one is asked, then the main window closes in
// its usual order. Before the window has started, the open question is cancelled and the start
// gives up.
class Termination : public QObject
{
    Q_OBJECT
public:
    explicit Termination(QObject *parent = nullptr);

    // The window to close once it has started (null or not yet started: none).
    void setWindow(QWidget *window) { m_window = window; }
    bool isRequested() const { return m_requested; }

    void request();

private:
    QPointer<QWidget> m_window;
    bool m_requested = false;
};
