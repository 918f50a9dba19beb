#pragma once

#include <QByteArray>

// The reminder beep when a sound file is missing: a sine tone as raw PCM (signed 16-bit,
// mono, little-endian), faded in and out over a few milliseconds so it does not click.
class BeepTone
{
public:
    static constexpr int Frequency = 1000; // Hz
    static constexpr int Duration = 1000;  // ms
    static constexpr int SampleRate = 22050;

    static QByteArray pcm(int frequency = Frequency, int milliseconds = Duration,
                          int sampleRate = SampleRate);
};
