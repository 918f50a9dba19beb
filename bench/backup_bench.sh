#!/usr/bin/env bash
# The daily backup and its verification with a base of 10,000 clients and 100,000 tests.
# usage: bench/backup_bench.sh [build dir] [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
exec bash "$root/bench/with_base.sh" "$build" "$build/bin/backup_bench" "${2:-3}"
