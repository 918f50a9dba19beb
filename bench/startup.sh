#!/usr/bin/env bash
# Start-up time of the real executable, from process start to the main window shown, with a
# base of N clients (default 10,000) and 10 tests each. Prints each run, the median of 5 and the
# program's peak memory.
# usage: bench/startup.sh [build dir] [clients]   (the build must have made vandrel and fill_base)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
clients=${2:-10000}
runs=${RUNS:-5}
export VANDREL_BENCH_CLIENTS=$clients VANDREL_BENCH_TESTS=$(( clients * 10 ))
# The runs happen inside a prepared profile folder.
if [ -z "${VANDREL_BENCH_PREPARED:-}" ]; then
  VANDREL_BENCH_PREPARED=1 exec bash "$root/bench/with_base.sh" "$build" bash "$0" "$build" "$clients"
fi

times=()
for i in $(seq 1 "$runs"); do
  start=$(date +%s%3N)
  output=$(VANDREL_QUIT_WHEN_SHOWN=1 "$build/vandrel/vandrel" 2>/dev/null)
  shown=$(printf '%s\n' "$output" | sed -n 's/^shown at \([0-9]*\) ms$/\1/p')
  peak=$(printf '%s\n' "$output" | sed -n 's/^peak memory \(.*\)$/\1/p')
  end=$(date +%s%3N)
  [ -n "$shown" ] || { echo "run $i: the window was not shown" >&2; exit 1; }
  ms=$(( shown - start ))
  printf 'run %d: %d ms to the window shown (%d ms to the process gone, peak memory %s)\n' \
    "$i" "$ms" $(( end - start )) "$peak"
  times+=("$ms")
done
median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
printf 'median of %d: %d ms\n' "$runs" "$median"
