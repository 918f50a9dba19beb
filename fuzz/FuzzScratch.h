#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// What every fuzz target shares: the folders its readers see and a check that stops the run.
//
// The program reads its catalogues from the install folder and the user's files from the data
// folder under $XDG_DATA_HOME. A target points both at one scratch folder made once per process
// (below $VANDREL_FUZZ_SCRATCH when set, else /dev/shm when writable, else the temp folder) and
// removed at exit, so no run touches the repository or a real profile.
namespace FuzzScratch {

// Makes the folders and points the program at them; later calls do nothing. Also silences
// Qt's warnings, which damaged input provokes by the thousand.
void setUp();

QString installFolder();
// The data folder (AppPaths::GetDataPath()), ending with "/".
QString dataFolder();

// Writes `size` bytes to `path`, making its folder. Aborts when it cannot: a target that
// cannot lay down its input would fuzz nothing and report nothing.
void writeFile(const QString &path, const uint8_t *data, size_t size);
void writeFile(const QString &path, const QByteArray &bytes);
// Removes every entry of `folder` (not the folder itself), so one run's files never reach the
// next.
void clearFolder(const QString &folder);

// Stops the run as a crash, which libFuzzer keeps as an artifact.
[[noreturn]] void fail(const char *what, const char *file, int line);

} // namespace FuzzScratch

// An invariant the reader must keep whatever its input.
#define FUZZ_CHECK(condition)                                                                     \
    do {                                                                                          \
        if (!(condition))                                                                         \
            FuzzScratch::fail(#condition, __FILE__, __LINE__);                                    \
    } while (false)
