#!/usr/bin/env bash
# Runs a command in a fresh profile folder whose base holds 10,000 clients and 100,000 tests.
# usage: bench/with_base.sh <build dir> <command> [args...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
shift
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
export XDG_DATA_HOME=$profile
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
bash "$root/bench/prepare_base.sh" "$build" >/dev/null
"$@"
