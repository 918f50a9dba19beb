#include "ClientSyncService.h"

#include <QThread>

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
    if (m_worker) {
        m_cancel = true;
        m_worker->wait();
        delete m_worker;
        m_worker = nullptr;
    }
}

void ClientSyncService::launch()
{
    if (m_stopped || m_worker) {
        m_again = m_worker != nullptr; // served right after the round under way
        return;
    }
    m_again = false;
    m_cancel = false;
    const ClientSync::Target target = m_fixedTarget ? m_target : ClientSync::configuredTarget();
    const QString path = m_localPath;
    QPointer<ClientSyncService> self(this);
    m_worker = QThread::create([this, self, target, path] {
        ClientSync sync(path, target);
        sync.setCancel(&m_cancel);
        sync.setProgress([self](int done, int total) {
            if (self)
                QMetaObject::invokeMethod(self.data(), [self, done, total] {
                    if (self)
                        Q_EMIT self->progress(done, total);
                }, Qt::QueuedConnection);
        });
        Outcome outcome;
        outcome.ok = sync.runRound();
        outcome.reached = sync.reachedShared();
        outcome.error = sync.lastError();
        outcome.stats = sync.stats();
        outcome.renames = sync.renames();
        outcome.needsAnotherRound = sync.needsAnotherRound();
        m_result = outcome; // read by onWorkerDone once the thread has finished
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
    const Outcome outcome = m_result;
    Q_EMIT roundFinished(outcome);
    if (m_again && !m_stopped)
        requestRound();
}
