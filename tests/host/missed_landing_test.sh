#!/usr/bin/env bash
# panelhost run fails, saying why, when its scenario's landing did not happen, with its outputs
# written all the same: the exit status is the verdict the main job takes.
#
#   missed_landing_test.sh PANELHOST WORK_DIR
set -uo pipefail
panelhost=$1 work=$2
rm -rf "$work"
mkdir -p "$work"
printf '%s\n' "at 0 aircraft lat=37 lon=-122 alt-ft=5000 ias=250 hdg=0 on-ground=0 throttle=0.6" \
  "at 1 when approach=stopped snap stopped" > "$work/scenario.txt"
"$panelhost" run --scenario "$work/scenario.txt" --seconds 5 --out "$work/out" >"$work/stdout" 2>"$work/stderr"
status=$?
fail() { echo "FAIL: $*"; cat "$work/stderr"; exit 1; }
[ "$status" -eq 1 ] || fail "exit status $status, not 1"
grep -q "panelhost: the scenario's landing did not happen: the aircraft never touched down" "$work/stderr" ||
  fail "the reason is not said"
[ -s "$work/out/flight.csv" ] || fail "flight.csv was not written"
echo "missed landing: exit status 1, said why, outputs written"
