#include "ClientSyncService.h"

#include <QCoreApplication>
#include <QThread>

namespace {

std::atomic_int g_leftRunning{0};

} // namespace

bool ClientSyncService::roundsLeftRunning()
{
    return g_leftRunning.load() > 0;
}

ClientSyncService::ClientSyncService(const QString &localPath, QObject *parent)
    : QObject(parent)
    , m_localPath(localPath)
{
    qRegisterMetaType<ClientSyncService::Outcome>();
    m_soon.setSingleShot(true);
    m_soon.setInterval(200);
    connect(&m_soon, &QTimer::timeout, this, &ClientSyncService::launch);
    connect(&m_interval, &QTimer::timeout, this, &ClientSyncService::requestRound);
}

ClientSyncService::~ClientSyncService()
{
    stop();
}

void ClientSyncService::start(int intervalMs)
{
    m_stopped = false;
    if (intervalMs > 0)
        m_interval.start(intervalMs);
    launch();
}

void ClientSyncService::requestRound()
{
    if (m_stopped)
        return;
    if (m_worker)
        m_again = true;
    else if (!m_soon.isActive())
        m_soon.start();
}

void ClientSyncService::stop()
{
    m_stopped = true;
    m_interval.stop();
    m_soon.stop();
    if (!m_worker)
        return;
    m_round->cancel = true;
    if (m_worker->wait(StopWaitMs)) {
        delete m_worker;
    } else {
        // Still connecting to a shared base that does not answer: that cannot be interrupted,
        // so the round is left to end on its own and nothing of it is used. Closing the program
        // never waits for it.
        disconnect(m_worker, nullptr, this, nullptr);
        ++g_leftRunning;
        connect(m_worker, &QThread::finished, m_worker, [worker = m_worker] {
            --g_leftRunning;
            worker->deleteLater();
        });
    }
    m_worker = nullptr;
}

void ClientSyncService::launch()
{
    if (m_stopped || m_worker) {
        m_again = m_worker != nullptr; // served right after the round under way
        return;
    }
    m_again = false;
    const ClientSync::Target target = m_fixedTarget ? m_target : ClientSync::configuredTarget();
    const QString path = m_localPath;
    QPointer<ClientSyncService> self(this);
    // What the worker touches is its own, so a round left running after stop() harms nothing.
    auto round = std::make_shared<Round>();
    m_round = round;
    m_worker = QThread::create([self, round, target, path] {
        ClientSync sync(path, target);
        sync.setCancel(&round->cancel);
        sync.setProgress([self](int done, int total) {
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [self, done, total] {
                    if (self)
                        Q_EMIT self->progress(done, total);
                },
                Qt::QueuedConnection);
        });
        Outcome &outcome = round->outcome;
        outcome.ok = sync.runRound();
        outcome.reached = sync.reachedShared();
        outcome.silent = sync.sharedSilent();
        outcome.error = sync.lastError();
        outcome.stats = sync.stats();
        outcome.renames = sync.renames();
        outcome.needsAnotherRound = sync.needsAnotherRound();
    });
    connect(m_worker, &QThread::finished, this, &ClientSyncService::onWorkerDone);
    Q_EMIT roundStarted();
    m_worker->start(QThread::LowPriority);
}

void ClientSyncService::onWorkerDone()
{
    if (!m_worker)
        return;
    m_worker->wait();
    m_worker->deleteLater();
    m_worker = nullptr;
    const Outcome outcome = m_round->outcome; // the thread has finished writing it
    Q_EMIT roundFinished(outcome);
    if (m_again && !m_stopped)
        requestRound();
}
