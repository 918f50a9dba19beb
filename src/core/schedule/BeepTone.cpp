#include "BeepTone.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <numbers>

QByteArray BeepTone::pcm(int frequency, int milliseconds, int sampleRate)
{
    if (frequency <= 0 || milliseconds <= 0 || sampleRate <= 0)
        return {};
    const qint64 samples = qint64(sampleRate) * milliseconds / 1000;
    const qint64 fade = std::min<qint64>(samples / 2, sampleRate / 200); // 5 ms
    QByteArray bytes(qsizetype(samples * 2), Qt::Uninitialized);
    auto *out = reinterpret_cast<uchar *>(bytes.data());
    constexpr double amplitude = 0.5 * 32767;
    for (qint64 i = 0; i < samples; ++i) {
        double gain = 1.0;
        if (fade > 0)
            gain = std::min({1.0, double(i) / double(fade), double(samples - 1 - i) / double(fade)});
        const double value = amplitude * gain
                             * std::sin(2.0 * std::numbers::pi * frequency * double(i) / sampleRate);
        qToLittleEndian<qint16>(qint16(std::lround(value)), out + 2 * i);
    }
    return bytes;
}
