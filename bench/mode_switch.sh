#!/usr/bin/env bash
# Mode switching time with a base of 10,000 clients and 100,000 tests.
# usage: bench/mode_switch.sh [build dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
exec bash "$root/bench/with_base.sh" "$build" "$build/bin/mode_switch" 200
