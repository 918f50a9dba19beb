// What a device library hands over: the identifier GETHID reports and the frames GETDATA
// delivers every 100 ms, fed through the sampling that turns them into point values. The
// input is a correction setting (3 bytes), an identifier (up to 20 bytes up to the first
// zero), then frames of 4 bytes.

#include "FuzzScratch.h"

#include "measure/Correction.h"
#include "measure/DeviceFrame.h"
#include "measure/DeviceIdentity.h"
#include "measure/ReadingCurve.h"
#include "measure/SamplingMachine.h"

#include <algorithm>

namespace {

Correction correctionOf(const uint8_t *bytes)
{
    Correction c;
    c.mode = bytes[0] % 3 == 1 ? Correction::Mode::Percent
             : bytes[0] % 3 == 2 ? Correction::Mode::Points
                                 : Correction::Mode::Off;
    c.percent = bytes[1] % (Correction::MaxPercent + 1);
    c.points = int(bytes[2] % (Correction::MaxPoints - Correction::MinPoints + 1)) + Correction::MinPoints;
    return c;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3)
        return 0;
    const Correction correction = correctionOf(data);
    data += 3;
    size -= 3;

    const size_t idLength = std::min<size_t>(size, 20);
    const QByteArray buffer(reinterpret_cast<const char *>(data), qsizetype(idLength));
    const QByteArray identifier = buffer.left(buffer.indexOf('\0') < 0 ? buffer.size() : buffer.indexOf('\0'));
    const QString name = DeviceIdentity::displayName(identifier);
    FUZZ_CHECK(identifier.isEmpty() || !name.isEmpty());
    DeviceIdentity::labelText(name);
    data += idLength;
    size -= idLength;

    SamplingMachine machine;
    machine.setCorrection(correction);
    for (size_t at = 0; at + DeviceFrame::Size <= size; at += DeviceFrame::Size) {
        const DeviceFrame frame = DeviceFrame::fromBytes(data + at);
        FUZZ_CHECK(frame.hasReading() || frame.raw() == 0);
        FUZZ_CHECK(DeviceFrame::reading(frame.raw()).raw() == frame.raw());
        const int before = machine.sampleCount();
        const SamplingMachine::Step step = machine.feed(frame);
        FUZZ_CHECK(step.reading == frame.hasReading());
        FUZZ_CHECK(step.value >= 0 && step.value <= ReadingCurve::MaxValue);
        FUZZ_CHECK(machine.sampleCount() >= 0 && machine.sampleCount() <= SamplingMachine::Finished);
        if (step.sampleAdded) {
            FUZZ_CHECK(step.samplePosition >= 1 && step.samplePosition <= SamplingMachine::Samples);
            FUZZ_CHECK(step.sample == correction.correct(step.value));
        }
        if (step.pointFinished) {
            FUZZ_CHECK(before == SamplingMachine::Samples + 1);
            FUZZ_CHECK(step.pointValue == correction.correct(machine.lastSample()));
        }
        if (!frame.hasReading())
            FUZZ_CHECK(machine.sampleCount() == before);
    }
    return 0;
}
