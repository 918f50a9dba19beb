#include "measure/DeviceFrame.h"

DeviceFrame DeviceFrame::fromBytes(const unsigned char *bytes) {
    DeviceFrame frame;
    if (bytes) {
        for (int i = 0; i < Size; ++i)
            frame.m_bytes[i] = bytes[i];
    }
    return frame;
}

DeviceFrame DeviceFrame::reading(quint16 raw) {
    DeviceFrame frame;
    frame.m_bytes[0] = ReadingKind;
    frame.m_bytes[1] = quint8(raw >> 8);
    frame.m_bytes[2] = quint8(raw & 0xFF);
    return frame;
}

quint16 DeviceFrame::raw() const {
    if (!hasReading())
        return 0;
    return quint16((m_bytes[1] << 8) | m_bytes[2]);
}
