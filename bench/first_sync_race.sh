#!/usr/bin/env bash
# Two workstations meeting a new shared base on a Firebird server at the same moment: each of
# N rounds copies the seed base as a fresh shared base and starts two card-making processes
# (10 cards, then a synchronisation round) against it. Counts the processes that did not end
# within 20 s (hung) and those that ended with an error.
# usage: bench/first_sync_race.sh [build dir] [rounds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
rounds=${2:-20}
work=$(mktemp -d)
password=race$RANDOM
trap 'bash "$root/scripts/firebird-test-server.sh" stop "$work/server" >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
port=$(bash "$root/scripts/firebird-test-server.sh" start "$work/server" "$password")
seed=$build/vandrel/defUniformDB/Uniform.fdb
hung=0 failed=0
for i in $(seq 1 "$rounds"); do
  base=$work/server/race$i.fdb
  cp "$seed" "$base"
  chmod 600 "$base"
  pids=()
  for w in A B; do
    timeout 20 "$build/bin/sync_card_maker" "$work/profiles$i/$w" "127.0.0.1/$port:$base" "$w" \
      SYSDBA "$password" 10 >"$work/out$i$w" 2>&1 &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do
    rc=0
    wait "$pid" || rc=$?
    if [[ $rc == 124 ]]; then hung=$((hung + 1)); elif [[ $rc != 0 ]]; then failed=$((failed + 1)); fi
  done
done
echo "first_sync_race: $rounds rounds, $((2 * rounds)) processes, hung $hung, failed $failed"
