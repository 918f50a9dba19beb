#!/usr/bin/env bash
# Builds the whole project with g++ and AddressSanitizer + UndefinedBehaviorSanitizer in a
# build folder of its own and runs the whole test suite there. Slow (a full build and every
# test at a fraction of their usual speed): CI runs it once a day.
# usage: sanitize.sh [extra ctest options]
# Build folder: $VANDREL_SANITIZE_DIR, default build-sanitize/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${VANDREL_SANITIZE_DIR:-$root/build-sanitize}"
jobs=$(nproc 2>/dev/null || echo 2)
flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
suppressions="$root/scripts/sanitize-leaks.supp"

bash "$root/scripts/install-deps.sh" >/dev/null
CC=gcc CXX=g++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVANDREL_BUILD_TESTS=ON -DVANDREL_BUILD_BENCH=OFF \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="$flags" -DCMAKE_SHARED_LINKER_FLAGS="$flags" \
  -DCMAKE_MODULE_LINKER_FLAGS="$flags" >/dev/null
cmake --build "$build" -j"$jobs"
cd "$build"

# Tests that show a web page (the main window holds the report page and the reference tables)
# or start the whole program. Qt WebEngine's Chromium frees some of its own objects through a
# base class of another size, which AddressSanitizer stops at; and LeakSanitizer's tracer
# crashes at the exit of the whole program with its engine and database threads. These tests
# run with those two checks off; every other check stays on.
whole_program='^(tst_mainwindow|tst_readable.*|tst_table_panel|tst_print_panel|tst_silent_shared_base|tst_damaged_start)$'

export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
# Everything runs several times slower here: tests that time the whole program (a close by
# SIGTERM within 5 s) allow that much more.
export VANDREL_SLOWDOWN=3
status=0

# Every other test with every check, leaks included; only memory that libraries keep to the
# end is suppressed (see the suppression file).
ASAN_OPTIONS="halt_on_error=1:detect_leaks=1" \
LSAN_OPTIONS="suppressions=$suppressions:print_suppressions=0" \
  ctest --output-on-failure --timeout 1200 -j"$jobs" -E "$whole_program" "$@" || status=1

# One at a time: two web engines side by side under the sanitizers are slow enough to miss
# the windows' own timings.
ASAN_OPTIONS="halt_on_error=1:detect_leaks=0:new_delete_type_mismatch=0" \
  ctest --output-on-failure --timeout 1200 -R "$whole_program" "$@" || status=1

exit "$status"
