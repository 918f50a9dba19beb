#pragma once

#include <QtGlobal>

#include <array>

// One frame as the device library's GETDATA hands it over: byte 0 is the frame kind, and only
// kind 6 carries a reading, in bytes 1-2 as an unsigned big-endian number. Byte 3 is unused.
class DeviceFrame {
public:
    static constexpr int Size = 4;
    static constexpr quint8 ReadingKind = 6;

    DeviceFrame() = default;
    // Reads the first Size bytes of `bytes`.
    static DeviceFrame fromBytes(const unsigned char *bytes);
    static DeviceFrame reading(quint16 raw);

    quint8 kind() const { return m_bytes[0]; }
    bool hasReading() const { return kind() == ReadingKind; }
    // The raw reading; 0 for a frame that carries none.
    quint16 raw() const;
    const std::array<quint8, Size> &bytes() const { return m_bytes; }

private:
    std::array<quint8, Size> m_bytes{};
};
