#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGINT into a Qt signal on the event loop, so the program closes in the
// same order as when the user closes the main window. The handler itself only writes a byte
// to a pipe, which is all a signal handler may safely do.
class UnixSignalWatcher : public QObject
{
    Q_OBJECT
public:
    explicit UnixSignalWatcher(QObject *parent = nullptr);
    ~UnixSignalWatcher() override;

    // Takes SIGTERM and SIGINT back for the watcher, once one exists. The Firebird client sets
    // handlers of its own when it first attaches a base; left in place, a SIGTERM would start
    // its shutdown thread beside the program's own closing, and the two race at exit (a crash,
    // or a detach that never ends).
    static void claimSignals();

Q_SIGNALS:
    void terminationRequested(int signalNumber);

private:
    void readSignal();
    QSocketNotifier *m_notifier = nullptr;
};
