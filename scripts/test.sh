#!/usr/bin/env bash
# Installs what is needed, builds with warnings as errors, and runs the whole test suite.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" -DVANDREL_WERROR=ON -DVANDREL_BUILD_TESTS=ON
build="${VANDREL_BUILD_DIR:-$root/build}"
cd "$build"
ctest --output-on-failure --timeout 300 -j"$(nproc 2>/dev/null || echo 2)"
