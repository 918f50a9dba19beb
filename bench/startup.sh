#!/usr/bin/env bash
# Start-up time of the real executable, from process start to the main window shown, with a
# base of 10,000 clients and 100,000 tests. Prints each run and the median of 5.
# usage: bench/startup.sh [build dir]   (the build must have made vandrel and fill_base)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
runs=${RUNS:-5}
# The runs happen inside a prepared profile folder.
if [ -z "${VANDREL_BENCH_PREPARED:-}" ]; then
  VANDREL_BENCH_PREPARED=1 exec bash "$root/bench/with_base.sh" "$build" bash "$0" "$build"
fi

times=()
for i in $(seq 1 "$runs"); do
  start=$(date +%s%3N)
  shown=$(VANDREL_QUIT_WHEN_SHOWN=1 "$build/vandrel/vandrel" 2>/dev/null | sed -n 's/^shown at \([0-9]*\) ms$/\1/p')
  end=$(date +%s%3N)
  [ -n "$shown" ] || { echo "run $i: the window was not shown" >&2; exit 1; }
  ms=$(( shown - start ))
  printf 'run %d: %d ms to the window shown (%d ms to the process gone)\n' "$i" "$ms" $(( end - start ))
  times+=("$ms")
done
median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
printf 'median of %d: %d ms\n' "$runs" "$median"
