#pragma once

#include <QString>

#include <functional>

// The one-second state machine shared by the colour sequence, the palette sender and the
// frequency player. Its owner calls tick() once a second while it is playing (a QTimer in
// the window, the test directly) and answers three hooks: send the current item to the
// device, move on to the next item, and silence the device.
//
// With an item time of N seconds the current item is sent N times, once per tick; the tick
// after that ends the item: with auto-next and a next item the remaining time is reset and
// the next item is sent from the following tick on, otherwise the run ends with the stop call.
class TherapyPlayer
{
public:
    enum class State { Stopped, Playing, Paused };
    enum class Ending { Completed, StoppedByUser, Failed };

    struct Hooks
    {
        // Sends the current item; false when it cannot be sent (the run then ends, Failed).
        std::function<bool()> send;
        // Moves to the next item; false when there is none.
        std::function<bool()> next;
        // The stop call to the device.
        std::function<void()> silence;
        // The run ended; called once per run after the stop call.
        std::function<void(Ending)> ended;
        // State or remaining time changed (for the display).
        std::function<void()> changed;
    };

    static constexpr int MaxItemSeconds = 59 * 60 + 59;

    explicit TherapyPlayer(Hooks hooks = {});
    void setHooks(Hooks hooks) { m_hooks = std::move(hooks); }

    // Minutes and seconds 0..59 each; values outside are clamped. A zero time plays one second,
    // so that a run never ends without sending anything.
    void setItemTime(int minutes, int seconds);
    int itemSeconds() const { return m_itemSeconds; }
    void setAutoNext(bool on) { m_autoNext = on; }
    bool autoNext() const { return m_autoNext; }

    State state() const { return m_state; }
    bool isPlaying() const { return m_state == State::Playing; }
    int remaining() const { return m_remaining; }
    // "h:mm:ss" of the remaining time.
    QString remainingText() const;
    static QString timeText(int seconds);

    // Starts or resumes; a run whose time had run out starts with a full item time.
    void play();
    // Keeps the remaining time and the current item.
    void pause();
    // Ends the run at once with the stop call. Ending it at the next tick instead would let
    // auto-next carry on with the next item.
    void stop();
    void tick();

private:
    void finish(Ending ending);
    void notify();

    Hooks m_hooks;
    State m_state = State::Stopped;
    int m_itemSeconds = 10;
    int m_remaining = 0;
    bool m_autoNext = false;
};
