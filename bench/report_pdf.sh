#!/usr/bin/env bash
# The printed report with a base of 10,000 clients and 100,000 tests: one client's report (100
# tests) composed, shown and written as PDF, the first run and the median of the later ones.
# usage: bench/report_pdf.sh [build dir] [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
exec bash "$root/bench/with_base.sh" "$build" "$build/bin/report_pdf" "${2:-6}"
