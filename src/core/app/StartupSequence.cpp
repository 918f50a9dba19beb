#include "StartupSequence.h"

#include <QElapsedTimer>
#include <cstdio>

void StartupSequence::onShow(ShowStep step, const QString &name, std::function<bool()> hook)
{
    m_show[step].push_back({name, std::move(hook)});
}

void StartupSequence::onClose(CloseStep step, const QString &name, std::function<void()> hook)
{
    m_close[step].push_back({name, std::move(hook)});
}

bool StartupSequence::runShow(QString *failed)
{
    for (const auto &[step, hooks] : m_show) {
        for (const auto &hook : hooks) {
            m_trace.append(hook.name);
            QElapsedTimer timer;
            timer.start();
            const bool ok = hook.fn();
            // For finding where a slow start spends its time.
            if (qEnvironmentVariableIsSet("VANDREL_STARTUP_TRACE"))
                std::fprintf(stderr, "start-up step %s: %lld ms\n", qPrintable(hook.name),
                             timer.elapsed());
            if (!ok) {
                if (failed)
                    *failed = hook.name;
                return false;
            }
        }
    }
    return true;
}

void StartupSequence::runClose()
{
    for (const auto &[step, hooks] : m_close) {
        for (const auto &hook : hooks) {
            m_trace.append(hook.name);
            hook.fn();
        }
    }
}
