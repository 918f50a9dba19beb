#pragma once

#include "ClientSync.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <atomic>
#include <memory>

class QThread;

// Runs synchronisation rounds in a worker thread, one at a time: at start, at a regular
// interval, and whenever asked (a card was saved, the practitioner asked for it). A request
// while a round runs is kept and served right after it. Results arrive on the thread that
// made the service.
class ClientSyncService : public QObject
{
    Q_OBJECT
public:
    struct Outcome
    {
        bool ok = false;
        bool reached = false; // the shared base answered
        bool silent = false;  // its server takes connections but does not answer
        QString error;
        ClientSync::Stats stats;
        QList<ClientSync::Rename> renames;
        bool needsAnotherRound = false;
    };

    // `target` empty: the shared base configured in Options.ini, read at each round.
    explicit ClientSyncService(const QString &localPath, QObject *parent = nullptr);
    ~ClientSyncService() override;

    void setTarget(const ClientSync::Target &target) { m_target = target; m_fixedTarget = true; }
    // The first round now, then one every `intervalMs`.
    void start(int intervalMs = 60000);
    // A round soon; several requests close together make one round.
    void requestRound();
    bool isRunning() const { return m_worker != nullptr; }
    // Whether a round left running by stop() has not ended yet. The Firebird client waits for
    // such a connection attempt when the process ends normally, so the program then ends at
    // once (everything it saved is committed by then).
    static bool roundsLeftRunning();
    // Stops a running round between cards and waits for it, but never longer than a few
    // seconds (a shared base that does not answer keeps a connection attempt waiting); no new
    // round starts afterwards.
    void stop();

Q_SIGNALS:
    void roundStarted();
    void progress(int done, int total);
    void roundFinished(const ClientSyncService::Outcome &outcome);

private:
    void launch();
    void onWorkerDone();

    QString m_localPath;
    ClientSync::Target m_target;
    bool m_fixedTarget = false;
    QTimer m_interval;
    QTimer m_soon;
    struct Round
    {
        std::atomic_bool cancel{false};
        Outcome outcome;
    };
    static constexpr unsigned long StopWaitMs = 2000;

    QThread *m_worker = nullptr;
    std::shared_ptr<Round> m_round;
    bool m_again = false;
    bool m_stopped = false;
};

Q_DECLARE_METATYPE(ClientSyncService::Outcome)
