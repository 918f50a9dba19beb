#!/usr/bin/env bash
# Client-card figures with a base of 10,000 clients and 100,000 tests.
# usage: bench/client_records.sh [build dir] [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
export XDG_DATA_HOME=$profile
bash "$root/bench/prepare_base.sh" "$build" >/dev/null
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/bin/client_records" "${2:-5}"
