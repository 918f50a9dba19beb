#include "MarkBlink.h"

MarkBlink::MarkBlink(Style style)
    : m_style(style)
{
}

void MarkBlink::start()
{
    m_running = true;
    m_rings = true;
    m_width = StartWidth;
    if (m_style == Style::Atlas) {
        m_count = 1;
        m_dots = true;
    } else {
        m_count = 0;
        m_dots = false;
    }
}

void MarkBlink::finish()
{
    m_running = false;
    m_rings = false;
    m_dots = true;
}

bool MarkBlink::tick()
{
    if (!m_running)
        return false;
    if (m_style == Style::Atlas) {
        if (m_count >= 10) {
            finish();
            return false;
        }
        ++m_count;
        m_dots = !m_dots;
        if (m_width < 1)
            m_rings = false;
        else
            --m_width;
        return true;
    }
    ++m_count;
    if (m_count >= 5) {
        finish();
        return false;
    }
    if (m_width >= 2)
        --m_width;
    return true;
}
