#!/usr/bin/env bash
# Export figures with a base of 10,000 clients and 100,000 tests.
# usage: bench/test_export.sh [build dir] [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
exec bash "$root/bench/with_base.sh" "$build" "$build/bin/test_export" "${2:-3}"
