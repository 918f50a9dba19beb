#pragma once

#include <QString>

#include <functional>

// Where reminder sounds go. The program plays through Qt Multimedia (MediaSoundOutput); tests
// put a recorder in its place, so they need no audio device.
class SoundOutput
{
public:
    virtual ~SoundOutput() = default;

    // Starts playing the file; false when it cannot be played.
    virtual bool play(const QString &path) = 0;
    virtual void stop() = 0;
    // A 1000 Hz tone for a second (the system bell where there is no audio output).
    virtual void beep() = 0;

    // Called when a file stops playing by itself.
    void setFinishedHandler(std::function<void()> handler) { m_finished = std::move(handler); }

protected:
    void notifyFinished()
    {
        if (m_finished)
            m_finished();
    }

private:
    std::function<void()> m_finished;
};
