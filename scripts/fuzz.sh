#!/usr/bin/env bash
# Builds the fuzz targets of the readers of outside data (fuzz/, clang with libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs each in turn for a while.
# usage: fuzz.sh [seconds-per-target]      (default 20)
#
# Build folder: $VANDREL_FUZZ_DIR, default build-fuzz/. Each target's corpus grows in
# <build>/fuzz-corpus/<target>/ from the shipped data files and the seeds in fuzz/seeds/;
# what a target finds is kept in <build>/fuzz-artifacts/<target>/. Prints one line per target
# and exits non-zero when any target found a crash, a leak or a timeout.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds="${1:-20}"
build="${VANDREL_FUZZ_DIR:-$root/build-fuzz}"
jobs=$(nproc 2>/dev/null || echo 2)

bash "$root/scripts/install-deps.sh" >/dev/null
mkdir -p "$build"
if ! { CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
         -DVANDREL_FUZZ=ON -DVANDREL_BUILD_TESTS=OFF -DVANDREL_BUILD_BENCH=OFF &&
       cmake --build "$build" -j"$jobs"; } >"$build/fuzz-build.log" 2>&1; then
  tail -n 40 "$build/fuzz-build.log" >&2
  echo "The fuzz targets did not build; see $build/fuzz-build.log." >&2
  exit 1
fi

# The files each reader meets in the field, relative to the repository.
declare -A seeds=(
  [fuzz_ini]="data/Q7/Options.ini data/Tables/*/FullNames/Names.INI"
  [fuzz_language_file]="data/Q7/languages/*.lang"
  [fuzz_language_download]="data/Q7/languages/*.lang"
  [fuzz_inquirer]="data/Inquirer*.INI"
  [fuzz_questionnaire]="data/main/*/diag_m.txt data/main/*/diag03.txt"
  [fuzz_course]="data/main/*/[0-9]*.txt data/main/lo01.txt"
  [fuzz_time_tables]="data/Q7/Data/*"
  [fuzz_marks]=""
  [fuzz_dots]="data/Dots.INI data/Dots24.INI data/DesDots.INI data/DesDotsNames.INI"
  [fuzz_freq_import]=""
  [fuzz_remember]="data/Q7/Remember.ini"
  [fuzz_device_frame]=""
  [fuzz_report_template]="data/Q7/Print.html data/Q7/print-copy.html"
)
targets=(fuzz_ini fuzz_language_file fuzz_language_download fuzz_inquirer fuzz_questionnaire
  fuzz_course fuzz_time_tables fuzz_marks fuzz_dots fuzz_freq_import fuzz_remember
  fuzz_device_frame fuzz_report_template)

# The targets' scratch folders (install folder, profile) live here, in memory when possible.
scratch_base=/dev/shm
[ -d "$scratch_base" ] && [ -w "$scratch_base" ] || scratch_base="$build"
scratch=$(mktemp -d "$scratch_base/vandrel-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
export VANDREL_FUZZ_SCRATCH="$scratch"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

failed=0
printf '%-24s %12s  %s\n' target executions findings
for t in "${targets[@]}"; do
  corpus="$build/fuzz-corpus/$t"
  artifacts="$build/fuzz-artifacts/$t"
  log="$build/fuzz-logs/$t.log"
  mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
  (
    cd "$root"
    for f in ${seeds[$t]} fuzz/seeds/$t/*; do
      [ -f "$f" ] || continue
      name=$(printf '%s' "$f" | tr '/ ' '__')
      cp -n "$f" "$corpus/seed-$name"
    done
  )
  status=0
  nice -n 10 "$build/fuzz/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus" >"$log" 2>&1 || status=$?
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  # What this run kept: crash-, leak-, timeout-, oom- and slow-unit- files.
  mapfile -t new < <(grep -o "Test unit written to [^ ]*" "$log" | sed 's/^Test unit written to //')
  if [ "$status" -ne 0 ] || [ "${#new[@]}" -gt 0 ]; then
    failed=1
    what="${new[*]:-exit status $status, see $log}"
    printf '%-24s %12s  FOUND: %s\n' "$t" "${execs:-?}" "$what"
  else
    printf '%-24s %12s  none\n' "$t" "${execs:-?}"
  fi
done

if [ "$failed" -ne 0 ]; then
  echo "Fuzzing found problems; the logs are in $build/fuzz-logs/." >&2
  exit 1
fi
