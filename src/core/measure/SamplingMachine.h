#pragma once

#include "measure/Correction.h"

class DeviceFrame;
class DeviceLibrary;

// Turns the frames polled every 100 ms into one stable value per point. A point is taken
// after 15 samples of unbroken contact and finished on the 16th tick with contact still
// present; its value is the corrected 15th sample. Losing contact while sampling starts the
// point again; lifting the probe after a finished point ends it.
//
// `SampleCount`: 0 waiting for contact, 1-16 sampling, 17 finished.
class SamplingMachine {
public:
    static constexpr int Samples = 15;
    static constexpr int Finished = 17;

    // What one frame did; the page draws from it and the test run acts on it.
    struct Step {
        bool reading = false;       // a frame of kind 6
        int value = 0;              // the converted reading
        bool cancelAutoNext = false; // contact: a pending advance is called off
        bool traceReset = false;    // a new or interrupted point: the trace starts again
        bool sampleAdded = false;   // a sample for the trace
        int sample = 0;             // ... its corrected value
        int samplePosition = 0;     // ... and its SampleCount (1-15)
        bool pointFinished = false; // the point's value is ready
        int pointValue = 0;         // ... corrected, for the current cell
        bool lifted = false;        // the probe left a finished point
    };

    // `beeper` sounds the device when sound is on; may be null.
    explicit SamplingMachine(DeviceLibrary *beeper = nullptr) : m_beeper(beeper) {}

    Step feed(const DeviceFrame &frame);
    // Back to waiting for contact (a new test, another point chosen by hand).
    void reset() { m_sampleCount = 0; }

    int sampleCount() const { return m_sampleCount; }
    int lastSample() const { return m_lastSample; }

    void setCorrection(const Correction &correction) { m_correction = correction; }
    const Correction &correction() const { return m_correction; }
    void setSound(bool on) { m_sound = on; }
    bool sound() const { return m_sound; }

private:
    void beep(int signal);

    DeviceLibrary *m_beeper;
    Correction m_correction;
    bool m_sound = false;
    int m_sampleCount = 0;
    int m_lastSample = 0;
};
