#include "StartupSequence.h"

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
            if (!hook.fn()) {
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
