#include "TherapyPlayer.h"

#include <algorithm>

TherapyPlayer::TherapyPlayer(Hooks hooks)
    : m_hooks(std::move(hooks))
{
}

void TherapyPlayer::setItemTime(int minutes, int seconds)
{
    m_itemSeconds = std::max(1, std::clamp(minutes, 0, 59) * 60 + std::clamp(seconds, 0, 59));
}

QString TherapyPlayer::timeText(int seconds)
{
    const int s = std::max(0, seconds);
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600)
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

QString TherapyPlayer::remainingText() const
{
    return timeText(m_remaining);
}

void TherapyPlayer::play()
{
    if (m_state == State::Playing)
        return;
    if (m_remaining < 1)
        m_remaining = m_itemSeconds;
    m_state = State::Playing;
    notify();
}

void TherapyPlayer::pause()
{
    if (m_state != State::Playing)
        return;
    m_state = State::Paused;
    notify();
}

void TherapyPlayer::stop()
{
    if (m_state == State::Stopped)
        return;
    finish(Ending::StoppedByUser);
}

void TherapyPlayer::tick()
{
    if (m_state != State::Playing)
        return;
    if (m_remaining >= 1) {
        --m_remaining;
        if (m_hooks.send && !m_hooks.send()) {
            finish(Ending::Failed);
            return;
        }
        notify();
        return;
    }
    // The item has finished.
    if (m_autoNext && m_hooks.next && m_hooks.next()) {
        m_remaining = m_itemSeconds;
        notify();
        return;
    }
    finish(Ending::Completed);
}

void TherapyPlayer::finish(Ending ending)
{
    m_state = State::Stopped;
    m_remaining = 0;
    if (m_hooks.silence)
        m_hooks.silence();
    notify();
    if (m_hooks.ended)
        m_hooks.ended(ending);
}

void TherapyPlayer::notify()
{
    if (m_hooks.changed)
        m_hooks.changed();
}
