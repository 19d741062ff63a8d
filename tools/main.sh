#!/usr/bin/env bash
# The main job: builds what is missing, then flies the demo scenario (San Francisco to Los Angeles
# through the FMC) on the default panel in simulated time, with progress on the terminal, and
# prints where the pictures and logs are.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="$root/build"
bash "$root/tools/build.sh"
out="$root/out/demo"
seconds="${DEMO_SECONDS:-3600}"
# The flight is the demo's point: the scenario waits for the aircraft to stop on the runway, and
# panelhost fails the run (saying what happened instead) when it did not.
if ! "$build_dir/bin/panelhost" run --scenario "$root/data/scenarios/demo.txt" --plan KSFO-KLAX.pln \
    --seconds "$seconds" --out "$out" >/dev/null; then
    echo "main: the demo flight failed (see $out/flight.csv and $out/track.png)" >&2
    exit 1
fi
cat "$out/landing.txt"
echo "panel pictures:"
ls -1 "$out"/*.png | sed 's/^/  /'
echo "flown track: $out/track.png"
echo "flight record: $out/flight.csv"
echo "landing: $out/landing.txt"
echo "key events: $out/events.log"
echo "message boxes: $out/messages.log"
echo "windows: $out/windows.txt"
