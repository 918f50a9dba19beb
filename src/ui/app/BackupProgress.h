#pragma once

#include <QString>

#include <functional>

class QWidget;

// Runs a backup or restore step on a worker thread behind a small dialog with a progress bar
// and a Cancel button, and returns when the step has ended. The window stays responsive
// meanwhile, and nothing the step does touches a widget.
class BackupProgress
{
public:
    using Report = std::function<void(const QString &line, int percent)>;
    using Cancelled = std::function<bool()>;
    using Job = std::function<void(const Report &report, const Cancelled &cancelled)>;

    // `job` runs on the worker; the dialog shows `title` and the lines it reports.
    static void run(QWidget *parent, const QString &title, const Job &job);
};
