#pragma once

// The blinking that draws the eye to a freshly marked point, one step per timer tick.
//
// Atlas: the rings start with a pen 6 wide and the dots shown; every tick toggles the dots
// and thins the rings by 1, hiding them once thinner than 1; the tenth step ends it.
// Disease page: the dots are hidden while the rings (pen 6) thin by 1 a tick down to 1;
// the fifth tick ends it. At the end the rings are hidden and the dots stay shown.
class MarkBlink
{
public:
    enum class Style { Atlas, Disease };

    static constexpr int StartWidth = 6;

    explicit MarkBlink(Style style);

    Style style() const { return m_style; }
    // Starts the sequence anew, whatever state it was in.
    void start();
    // One tick. Returns whether the sequence goes on (false: stop the timer).
    bool tick();
    // Ends at once: dots shown, rings hidden.
    void finish();

    bool running() const { return m_running; }
    bool dotsVisible() const { return m_dots; }
    bool ringsVisible() const { return m_rings; }
    int ringWidth() const { return m_width; }
    int count() const { return m_count; }

private:
    Style m_style;
    bool m_running = false;
    bool m_dots = true;
    bool m_rings = false;
    int m_width = StartWidth;
    int m_count = 0;
};
