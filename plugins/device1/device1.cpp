/*
 * device1: the virtual measuring device (identifier "VirtualDe").
 *
 * Without a script it behaves like a practitioner working through a test: the probe is off
 * the skin for about 1 s, then touches a point for about 2 s, then lifts again, and so on.
 * Time is counted in GETDATA calls (the program polls every 100 ms): 10 calls lifted, 20 calls
 * touching. Each touch reads the next of 24 point values (a plausible Ryodoraku profile with a
 * few channels out of the corridor) with a short rise and a little deterministic noise. Each
 * OPEN starts the cycle again with the first point. VANDREL_DEVICE_LIFT_POLLS (1-600, read at
 * OPEN) sets how many calls the probe stays lifted, so a practitioner trying a waiting time
 * before the auto-advance (seconds x 10 calls) sees the advance before the next touch.
 *
 * Script. When the environment variable VANDREL_DEVICE_SCRIPT names a file, that file drives
 * the device instead. It is read at OPEN, and read again at a later OPEN when its name or
 * content has changed (unchanged, its progress is kept, so failing OPENs can be counted).
 * One directive per line; blank lines and lines starting with '#' are ignored, and so are
 * malformed lines.
 *
 *   id <text>                  identifier GETHID reports (at most 19 bytes; default VirtualDe)
 *   id-hex <hex bytes>         the same given as hex, e.g. "id-hex FF FF FF FF FF FF FF FF FF"
 *   record <path>              append a line for every OPEN, GETHID, CLOSE, SETBEEP, SETCOLOR
 *                              and SETFQ call to <path> (relative to the script's folder):
 *                                OPEN 1 | OPEN 0 | GETHID <id> | CLOSE | SETBEEP 10 10 1 |
 *                                SETCOLOR 255 0 0 5 | SETFQ 3 7.83
 *   open-fail [n]              the next n OPEN calls fail (default 1)
 *   frame <kind> <raw> [n]     the next n GETDATA calls return this frame (default 1);
 *                              kind 0-255, raw 0-65535
 *   lost                       GETDATA fails (device lost) from here until the next OPEN
 *
 * open-fail, frame and lost are steps taken in the order written: OPEN takes the open-fail
 * step it finds next, GETDATA the frame or lost step it finds next; a step of the other kind
 * waits for its call. When the frames run out, GETDATA returns kind-6 frames with raw 0
 * (probe not touching). A named script file that cannot be read counts as an empty script.
 *
 * GETDATA fails while the device is not open, as a real device would.
 */

#include "measure/DeviceAbi.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int LiftCalls = 10;
constexpr int TouchCalls = 20;
constexpr int PointCount = 24;
constexpr std::size_t MaxIdLength = VANDREL_DEVICE_HID_SIZE - 1;
const char *const DefaultId = "VirtualDe";

// Raw readings per point, in the order the points are touched. The program's conversion
// turns them into values between about 40 and 150, mostly around 80-100.
constexpr int Profile[PointCount] = {96,  102, 84,  90,  118, 112, 70, 76, 140, 132, 64, 60,
                                     108, 100, 210, 196, 88,  94,  36, 44, 124, 116, 80, 86};

enum class StepType { OpenFail, Frame, Lost };

struct Step {
    StepType type;
    int kind = 0;
    int raw = 0;
    long remaining = 1;
};

struct Device {
    std::mutex mutex;
    bool open = false;
    bool lost = false;
    long simulatedCalls = 0;
    long liftCalls = LiftCalls;

    bool scriptLoaded = false; // a script (or its absence) has been taken in
    bool scripted = false;
    std::string scriptPath;
    std::string scriptContent;
    std::vector<Step> steps;
    std::size_t cursor = 0;
    std::string id = DefaultId;
    std::string recordPath;
};

Device &device() {
    static Device d;
    return d;
}

std::string trim(const std::string &text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// A whole token as a number in [low, high]; false for anything else.
bool toNumber(const std::string &token, long low, long high, long *value) {
    if (token.empty())
        return false;
    errno = 0;
    char *end = nullptr;
    const long parsed = std::strtol(token.c_str(), &end, 10);
    if (errno != 0 || end == token.c_str() || *end != '\0' || parsed < low || parsed > high)
        return false;
    *value = parsed;
    return true;
}

bool parseHexId(const std::string &text, std::string *id) {
    std::string digits;
    for (char c : text) {
        if (std::isspace(static_cast<unsigned char>(c)))
            continue;
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
        digits.push_back(c);
    }
    if (digits.empty() || digits.size() % 2 != 0)
        return false;
    std::string bytes;
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const int byte = static_cast<int>(std::strtol(digits.substr(i, 2).c_str(), nullptr, 16));
        if (byte == 0)
            break; // a zero ends the identifier as it would in the buffer
        bytes.push_back(static_cast<char>(byte));
    }
    *id = bytes.substr(0, MaxIdLength);
    return true;
}

std::string folderOf(const std::string &path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void parseScript(Device &d) {
    d.steps.clear();
    d.cursor = 0;
    d.id = DefaultId;
    d.recordPath.clear();

    std::istringstream in(d.scriptContent);
    std::string line;
    while (std::getline(in, line)) {
        line = trim(line);
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream words(line);
        std::string directive;
        words >> directive;
        std::string rest;
        std::getline(words, rest);
        rest = trim(rest);
        std::vector<std::string> args;
        {
            std::istringstream argWords(rest);
            args.assign(std::istream_iterator<std::string>(argWords),
                        std::istream_iterator<std::string>());
        }

        if (directive == "id") {
            if (!rest.empty())
                d.id = rest.substr(0, MaxIdLength);
        } else if (directive == "id-hex") {
            std::string id;
            if (parseHexId(rest, &id))
                d.id = id;
        } else if (directive == "record") {
            if (!rest.empty())
                d.recordPath = rest[0] == '/' ? rest : folderOf(d.scriptPath) + rest;
        } else if (directive == "open-fail") {
            long count = 1;
            if (args.size() > 1 || (args.size() == 1 && !toNumber(args[0], 1, LONG_MAX, &count)))
                continue;
            d.steps.push_back({StepType::OpenFail, 0, 0, count});
        } else if (directive == "frame") {
            long kind = 0;
            long raw = 0;
            long count = 1;
            if (args.size() < 2 || args.size() > 3 || !toNumber(args[0], 0, 255, &kind) ||
                !toNumber(args[1], 0, 65535, &raw) ||
                (args.size() == 3 && !toNumber(args[2], 1, LONG_MAX, &count)))
                continue;
            d.steps.push_back({StepType::Frame, int(kind), int(raw), count});
        } else if (directive == "lost") {
            if (args.empty())
                d.steps.push_back({StepType::Lost, 0, 0, 1});
        }
    }
}

// Takes in the script named by the environment, unless it is the one already taken in.
void loadScript(Device &d) {
    const char *env = std::getenv("VANDREL_DEVICE_SCRIPT");
    const std::string path = env ? env : "";
    std::string content;
    if (!path.empty()) {
        std::ifstream file(path, std::ios::binary);
        if (file)
            content.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    if (d.scriptLoaded && path == d.scriptPath && content == d.scriptContent)
        return;
    d.scriptLoaded = true;
    d.scripted = !path.empty();
    d.scriptPath = path;
    d.scriptContent = content;
    parseScript(d);
}

void ensureScript(Device &d) {
    if (!d.scriptLoaded)
        loadScript(d);
}

void record(const Device &d, const std::string &line) {
    if (d.recordPath.empty())
        return;
    if (std::FILE *file = std::fopen(d.recordPath.c_str(), "a")) {
        std::fputs(line.c_str(), file);
        std::fputc('\n', file);
        std::fclose(file);
    }
}

void writeFrame(unsigned char *frame, int kind, int raw) {
    frame[0] = static_cast<unsigned char>(kind);
    frame[1] = static_cast<unsigned char>((raw >> 8) & 0xFF);
    frame[2] = static_cast<unsigned char>(raw & 0xFF);
    frame[3] = 0;
}

// The lift length the environment asks for, or the default.
long liftCallsFromEnvironment() {
    const char *env = std::getenv("VANDREL_DEVICE_LIFT_POLLS");
    long value = LiftCalls;
    if (env && toNumber(trim(env), 1, 600, &value))
        return value;
    return LiftCalls;
}

// The raw reading of the simulated probe at the given call since OPEN; 0 while lifted.
int simulatedRaw(long call, long liftCalls) {
    const long cycle = liftCalls + TouchCalls;
    const long phase = call % cycle;
    if (phase < liftCalls)
        return 0;
    const int point = static_cast<int>((call / cycle) % PointCount);
    const long touch = phase - liftCalls;
    // Noise of -3..+3, the same on every run.
    std::uint32_t hash = static_cast<std::uint32_t>(call) * 2654435761U;
    hash ^= hash >> 15;
    const int noise = static_cast<int>(hash % 7) - 3;
    int raw = Profile[point] + noise;
    // The skin contact settles over the first two polls.
    if (touch == 0)
        raw = raw / 2;
    else if (touch == 1)
        raw = raw * 85 / 100;
    return std::max(raw, 1);
}

// The script step waiting at the cursor, skipping steps that are used up.
Step *currentStep(Device &d) {
    while (d.cursor < d.steps.size() && d.steps[d.cursor].remaining <= 0)
        ++d.cursor;
    return d.cursor < d.steps.size() ? &d.steps[d.cursor] : nullptr;
}

} // namespace

extern "C" {

VANDREL_DEVICE_EXPORT unsigned char OPEN(void) {
    try {
        Device &d = device();
        std::lock_guard lock(d.mutex);
        loadScript(d);
        if (d.scripted) {
            Step *step = currentStep(d);
            if (step && step->type == StepType::OpenFail) {
                --step->remaining;
                d.open = false;
                record(d, "OPEN 0");
                return 0;
            }
        }
        d.open = true;
        d.lost = false;
        d.simulatedCalls = 0;
        d.liftCalls = liftCallsFromEnvironment();
        record(d, "OPEN 1");
        return 1;
    } catch (...) {
        return 0;
    }
}

VANDREL_DEVICE_EXPORT void GETHID(char *buffer) {
    if (!buffer)
        return;
    try {
        Device &d = device();
        std::lock_guard lock(d.mutex);
        ensureScript(d);
        const std::size_t length = std::min(d.id.size(), MaxIdLength);
        std::memset(buffer, 0, VANDREL_DEVICE_HID_SIZE);
        std::memcpy(buffer, d.id.data(), length);
        record(d, "GETHID " + d.id.substr(0, length));
    } catch (...) {
        buffer[0] = '\0';
    }
}

VANDREL_DEVICE_EXPORT unsigned char GETDATA(unsigned char *frame) {
    if (!frame)
        return 0;
    try {
        Device &d = device();
        std::lock_guard lock(d.mutex);
        ensureScript(d);
        if (!d.open || d.lost)
            return 0;
        if (!d.scripted) {
            writeFrame(frame, 6, simulatedRaw(d.simulatedCalls++, d.liftCalls));
            return 1;
        }
        Step *step = currentStep(d);
        if (step && step->type == StepType::Lost) {
            step->remaining = 0;
            d.lost = true;
            return 0;
        }
        if (step && step->type == StepType::Frame) {
            --step->remaining;
            writeFrame(frame, step->kind, step->raw);
            return 1;
        }
        writeFrame(frame, 6, 0);
        return 1;
    } catch (...) {
        return 0;
    }
}

VANDREL_DEVICE_EXPORT void SETBEEP(int a, int b, int signal) {
    try {
        Device &d = device();
        std::lock_guard lock(d.mutex);
        ensureScript(d);
        record(d, "SETBEEP " + std::to_string(a) + ' ' + std::to_string(b) + ' ' +
                      std::to_string(signal));
    } catch (...) {
    }
}

VANDREL_DEVICE_EXPORT void SETCOLOR(unsigned char red, unsigned char green, unsigned char blue,
                                    unsigned char rate) {
    try {
        Device &d = device();
        std::lock_guard lock(d.mutex);
        ensureScript(d);
        record(d, "SETCOLOR " + std::to_string(red) + ' ' + std::to_string(green) + ' ' +
                      std::to_string(blue) + ' ' + std::to_string(rate));
    } catch (...) {
    }
}

VANDREL_DEVICE_EXPORT void SETFQ(int power, float hz) {
    try {
        Device &d = device();
        std::lock_guard lock(d.mutex);
        ensureScript(d);
        char text[64];
        std::snprintf(text, sizeof text, "SETFQ %d %g", power, static_cast<double>(hz));
        record(d, text);
    } catch (...) {
    }
}

VANDREL_DEVICE_EXPORT void CLOSE(void) {
    try {
        Device &d = device();
        std::lock_guard lock(d.mutex);
        ensureScript(d);
        d.open = false;
        d.lost = false;
        record(d, "CLOSE");
    } catch (...) {
    }
}

VANDREL_DEVICE_EXPORT int GETDLLINFO(char *buffer, int size) {
    if (!buffer || size < 1)
        return -1;
    const int written =
        std::snprintf(buffer, static_cast<std::size_t>(size), "%s", "Vandrel virtual device 1.0");
    return std::min(written, size - 1);
}

VANDREL_DEVICE_EXPORT void SHOWSETUPDIALOG(void) {
    // The virtual device has nothing to set up.
}

VANDREL_DEVICE_EXPORT int SETPARAM(int, int) {
    return 0;
}

VANDREL_DEVICE_EXPORT int GETPARAM(int) {
    return 0;
}

} // extern "C"
