#include "measure/SamplingMachine.h"

#include "measure/DeviceFrame.h"
#include "measure/DeviceLibrary.h"
#include "measure/ReadingCurve.h"

SamplingMachine::Step SamplingMachine::feed(const DeviceFrame &frame) {
    Step step;
    if (!frame.hasReading())
        return step;
    step.reading = true;
    const int v = ReadingCurve::toValue(frame.raw());
    step.value = v;

    if (v > 0) {
        step.cancelAutoNext = true;
        if (m_sampleCount == 0) {
            beep(1);
            step.traceReset = true;
            m_sampleCount = 1;
        }
        if (m_sampleCount < Samples + 1) {
            m_lastSample = v;
            step.sampleAdded = true;
            step.sample = m_correction.correct(v);
            step.samplePosition = m_sampleCount;
            ++m_sampleCount;
        } else if (m_sampleCount == Samples + 1) {
            m_sampleCount = Finished;
            beep(2);
            step.pointFinished = true;
            step.pointValue = m_correction.correct(m_lastSample);
        }
        return step;
    }

    if (m_sampleCount >= 1 && m_sampleCount <= Samples + 1) {
        // An interrupted point starts again from the beginning.
        step.traceReset = true;
        m_sampleCount = 0;
    } else if (m_sampleCount > Samples + 1) {
        m_sampleCount = 0;
        step.lifted = true;
    }
    return step;
}

void SamplingMachine::beep(int signal) {
    if (m_sound && m_beeper)
        m_beeper->setBeep(10, 10, signal);
}
