#include "TestExportRunner.h"

#include "ClientTexts.h"
#include "common/Dialogs.h"

#include <QDir>
#include <QProgressDialog>
#include <QtConcurrent>

#include <limits>

TestExportRunner::TestExportRunner(QWidget *parent)
    : QObject(parent)
    , m_parent(parent) {
    connect(&m_watcher, &QFutureWatcher<TestExport::Result>::finished, this,
            &TestExportRunner::onFinished);
}

TestExportRunner::~TestExportRunner() {
    if (m_cancel)
        m_cancel->store(true);
    m_watcher.waitForFinished();
}

void TestExportRunner::start(const TestExport::Request &request) {
    if (isRunning())
        return;
    m_target = request.target;
    m_cancel = std::make_shared<std::atomic_bool>(false);
    m_progress = new QProgressDialog(m_parent);
    m_progress->setObjectName(QStringLiteral("ExportProgress"));
    m_progress->setWindowModality(Qt::WindowModal);
    m_progress->setLabelText(ClientTexts::translate(QStringLiteral("ExportRunning"),
                                                    QStringLiteral("Exporting tests…")));
    m_progress->setCancelButtonText(
        ClientTexts::translate(QStringLiteral("Cancel"), QStringLiteral("Cancel")));
    m_progress->setMinimumDuration(300);
    m_progress->setAutoClose(false);
    m_progress->setAutoReset(false);
    m_progress->setRange(0, 0);
    const std::shared_ptr<std::atomic_bool> cancel = m_cancel;
    connect(m_progress, &QProgressDialog::canceled, this, [cancel] { cancel->store(true); });

    // The worker only posts its counts; the dialog is touched on this thread alone.
    const auto progress = [this, cancel](qint64 done, qint64 total) {
        QMetaObject::invokeMethod(
            this, [this, done, total] { showProgress(done, total); }, Qt::QueuedConnection);
        return !cancel->load();
    };
    m_watcher.setFuture(
        QtConcurrent::run([request, progress] { return TestExport::run(request, progress); }));
}

void TestExportRunner::showProgress(qint64 done, qint64 total) {
    if (!m_progress || m_progress->wasCanceled())
        return;
    // The bar counts in ints; a huge base is scaled down.
    const qint64 scale = total / std::numeric_limits<int>::max() + 1;
    m_progress->setMaximum(int(total / scale));
    m_progress->setValue(int(done / scale));
}

void TestExportRunner::onFinished() {
    const TestExport::Result result = m_watcher.result();
    if (m_progress)
        m_progress->deleteLater();
    if (result.ok) {
        Dialogs::message(m_parent, ClientTexts::translate(QStringLiteral("ExportDone"),
                                                          QStringLiteral("%1 tests were exported "
                                                                         "to %2."))
                                       .arg(result.rows)
                                       .arg(QDir::toNativeSeparators(m_target)));
    } else if (!result.cancelled) {
        Dialogs::error(m_parent,
                       ClientTexts::translate(QStringLiteral("Error"), QStringLiteral("Error")),
                       ClientTexts::translate(QStringLiteral("ExportFailed"),
                                              QStringLiteral("The tests could not be exported:")) +
                           QLatin1Char('\n') + result.error);
    }
    Q_EMIT finished(result);
}
