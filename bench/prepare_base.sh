#!/usr/bin/env bash
# Seeds a data folder in the profile folder $XDG_DATA_HOME by one start of the program, then
# fills its base with $VANDREL_BENCH_CLIENTS clients and $VANDREL_BENCH_TESTS tests (by default
# 10,000 and 100,000).
# usage: XDG_DATA_HOME=<folder> bench/prepare_base.sh <build dir>
set -euo pipefail
build=$1
QT_QPA_PLATFORM=offscreen VANDREL_QUIT_WHEN_SHOWN=1 "$build/vandrel/vandrel" >/dev/null 2>&1 || true
"$build/bin/fill_base" "$XDG_DATA_HOME/Quillane/Q7/BASE.fdb" "${VANDREL_BENCH_CLIENTS:-10000}" \
  "${VANDREL_BENCH_TESTS:-100000}"
