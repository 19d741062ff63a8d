#!/usr/bin/env bash
# The main job: builds what is missing, then flies the demo scenario (San Francisco to Los Angeles
# through the FMC) on the default panel in simulated time, with progress on the terminal, and
# prints where the pictures and logs are.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${BUILD_DIR:-$root/build}"
BUILD_DIR="$build_dir" bash "$root/tools/build.sh"
out="$root/out/demo"
seconds="${DEMO_SECONDS:-3600}"
rm -f "$out/landing.txt"
"$build_dir/bin/panelhost" run --scenario "$root/data/scenarios/demo.txt" --plan KSFO-KLAX.pln --seconds "$seconds" --out "$out" >/dev/null
# The flight is the demo's point: it ends stopped on the runway, or the job fails.
if ! grep -q "stopped on" "$out/landing.txt" 2>/dev/null; then
    echo "main: the demo flight did not land and stop on the runway (see $out/flight.csv)" >&2
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
