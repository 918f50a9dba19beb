#!/usr/bin/env bash
# Shared-base figures with a base of N clients (default 10,000) and 10 tests per client.
# usage: bench/sync_rounds.sh [build dir] [clients] [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
clients=${2:-10000}
export VANDREL_BENCH_CLIENTS=$clients VANDREL_BENCH_TESTS=$(( clients * 10 ))
exec bash "$root/bench/with_base.sh" "$build" "$build/bin/sync_rounds" "${3:-5}"
