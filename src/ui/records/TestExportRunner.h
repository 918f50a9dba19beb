#pragma once

#include "records/TestExport.h"

#include <QFutureWatcher>
#include <QObject>
#include <QPointer>

#include <atomic>
#include <memory>

class QProgressDialog;
class QWidget;

// Runs an export on a worker thread behind a progress dialog that can cancel it, and says how
// it ended. The window stays responsive meanwhile.
class TestExportRunner : public QObject {
    Q_OBJECT
public:
    explicit TestExportRunner(QWidget *parent);
    ~TestExportRunner() override;

    bool isRunning() const { return m_watcher.isRunning(); }
    void start(const TestExport::Request &request);

Q_SIGNALS:
    void finished(const TestExport::Result &result);

private:
    void showProgress(qint64 done, qint64 total);
    void onFinished();

    QWidget *m_parent;
    QPointer<QProgressDialog> m_progress;
    QFutureWatcher<TestExport::Result> m_watcher;
    std::shared_ptr<std::atomic_bool> m_cancel;
    QString m_target;
};
