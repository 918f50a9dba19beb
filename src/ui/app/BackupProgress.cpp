#include "BackupProgress.h"

#include "localization/Localization.h"

#include <QEventLoop>
#include <QFutureWatcher>
#include <QPointer>
#include <QProgressDialog>
#include <QtConcurrent>

#include <atomic>
#include <memory>

void BackupProgress::run(QWidget *parent, const QString &title, const Job &job)
{
    auto cancel = std::make_shared<std::atomic_bool>(false);
    QPointer<QProgressDialog> dialog = new QProgressDialog(parent);
    dialog->setObjectName(QStringLiteral("BackupProgress"));
    dialog->setWindowTitle(title);
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setLabelText(title);
    dialog->setCancelButtonText(
        Localization::translateOr(QStringLiteral("Cancel"), QStringLiteral("Cancel")));
    dialog->setMinimumDuration(0);
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    dialog->setRange(0, 100);
    dialog->setValue(0);
    QObject::connect(dialog, &QProgressDialog::canceled, dialog, [cancel] { cancel->store(true); });

    // The worker only posts its lines; the dialog is touched on this thread alone.
    const Report report = [dialog, cancel](const QString &line, int percent) {
        QMetaObject::invokeMethod(
            dialog,
            [dialog, line, percent, cancel] {
                if (!dialog || cancel->load())
                    return;
                dialog->setLabelText(line);
                dialog->setValue(percent);
            },
            Qt::QueuedConnection);
    };
    const Cancelled cancelled = [cancel] { return cancel->load(); };

    QFutureWatcher<void> watcher;
    QEventLoop loop;
    QObject::connect(&watcher, &QFutureWatcher<void>::finished, &loop, &QEventLoop::quit);
    watcher.setFuture(QtConcurrent::run([job, report, cancelled] { job(report, cancelled); }));
    dialog->show();
    if (!watcher.isFinished())
        loop.exec();
    // Lines still queued for the dialog are dropped with it.
    delete dialog;
}
