#!/usr/bin/env bash
# panelhost run ends the flight at a crash: one message, landing.txt and flight.csv say so, the run
# stops there rather than at --seconds, and its exit status is 1. The aircraft is put 4 NM out on
# Los Angeles 24R's final at 900 ft, idle, and sinks into the ground short of the runway.
#
#   crash_test.sh PANELHOST WORK_DIR
set -uo pipefail
panelhost=$1 work=$2
rm -rf "$work"
mkdir -p "$work"
printf '%s\n' "at 0 aircraft lat=33.9602 lon=-118.3222 alt-ft=1026 ias=150 hdg=263 on-ground=0 flaps=1 gear=down throttle=0" \
  "at 1 when approach=stopped snap stopped" "at 1 when height<10 snap low" > "$work/scenario.txt"
"$panelhost" run --scenario "$work/scenario.txt" --seconds 600 --out "$work/out" >"$work/stdout" 2>"$work/stderr"
status=$?
fail() { echo "FAIL: $*"; cat "$work/stderr"; exit 1; }
[ "$status" -eq 1 ] || fail "exit status $status, not 1"
[ "$(grep -c 'crash:' "$work/stderr")" -eq 1 ] || fail "not one crash message"
grep -q "panelhost: t=[0-9.]* s crash: touched down .* short of KLAX 24R's landing threshold" "$work/stderr" ||
  fail "the crash is not told"
! grep -q "never held" "$work/stderr" || fail "the commands still waiting were reported"
[ "$(wc -l < "$work/out/landing.txt")" -eq 1 ] || fail "landing.txt is not the crash's line alone"
grep -q "crash: touched down" "$work/out/landing.txt" || fail "landing.txt does not say so"
head -1 "$work/out/flight.csv" | grep -q ",crashed$" || fail "flight.csv has no crashed column"
last=$(tail -1 "$work/out/flight.csv")
[ "${last##*,}" = 1 ] || fail "flight.csv's last row is not the crash's: $last"
[ "$(awk -F, 'NR > 1 && $1 > 60' "$work/out/flight.csv" | wc -l)" -eq 0 ] || fail "the run went on after the crash"
[ -s "$work/out/track.png" ] || fail "track.png was not written"
echo "crash: exit status 1, one message, landing.txt and flight.csv say so, the run ended there"
