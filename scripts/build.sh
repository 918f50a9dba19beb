#!/usr/bin/env bash
# Configures and builds the workstation into build/ (install folder: build/vandrel/).
# usage: build.sh [extra cmake options]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${VANDREL_BUILD_DIR:-$root/build}"
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build" -j"$jobs"
