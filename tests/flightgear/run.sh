#!/usr/bin/env bash
# Integration check of the FlightGear link with a real FlightGear (2020.3): starts FlightGear
# headless with its property server, flies the ufo with the PFD, the ND and the FMC through
# "panelhost run --sim flightgear", has the FMC load three plans (one of a filed route string, one
# of another tool) and reads back FlightGear's route manager after each, then kills FlightGear
# mid-run. Not part of CI: FlightGear's data is 1.3 GB. Skips with a message when FlightGear or the
# tools it needs are missing.
#
#   tests/flightgear/run.sh [BUILD_DIR]        (default: the build folder beside this tree)
#   FG_PROPS_PORT=5501 picks the property server's port.
set -u
here=$(cd "$(dirname "$0")" && pwd)
src=$(cd "$here/../.." && pwd)
build=$(cd "${1:-$src/build}" 2>/dev/null && pwd) || { echo "SKIP: no build folder ${1:-$src/build}"; exit 0; }
port=${FG_PROPS_PORT:-5501}

skip() { echo "SKIP: $*"; exit 0; }
fgfs=$(command -v fgfs || { [ -x /usr/games/fgfs ] && echo /usr/games/fgfs; })
[ -n "$fgfs" ] || skip "fgfs not found (Debian: apt-get install flightgear flightgear-data-base xvfb xauth dbus)"
for tool in xvfb-run dbus-run-session python3; do
    command -v "$tool" >/dev/null || skip "$tool not found"
done
[ -x "$build/bin/panelhost" ] || skip "$build/bin/panelhost is not built"
for module in flightdisplay navdisplay fmcomputer; do
    [ -f "$build/gauges/$module.gau" ] || skip "$module.gau is not in $build/gauges"
done

work=$(mktemp -d /tmp/fglink-check.XXXXXX)
echo "work folder: $work"
# The rendering is cut down to nothing the check needs, so a machine without a GPU keeps up.
dbus-run-session -- xvfb-run -a -s "-screen 0 640x480x24" \
    sh -c 'echo $$ > "$0"; exec "$@"' "$work/fgfs.pid" "$fgfs" \
    --aircraft=ufo --airport=KSFO --in-air --altitude=5000 --heading=0 \
    --disable-sound --disable-splash-screen --disable-ai-traffic --disable-real-weather-fetch \
    --geometry=160x120 --disable-clouds --fog-fastest \
    --prop:/sim/rendering/draw-mask/terrain=false --prop:/sim/rendering/draw-mask/models=false \
    --prop:/sim/rendering/draw-mask/aircraft=false --prop:/sim/rendering/draw-mask/clouds=false \
    --prop:/sim/frame-rate-throttle-hz=30 --prop:/controls/engines/engine[0]/throttle=0.05 \
    --props=socket,bi,60,,"$port",tcp >"$work/fgfs.log" 2>&1 &
wrapper=$!
for _ in $(seq 100); do [ -s "$work/fgfs.pid" ] && break; sleep 0.1; done
fg_pid=$(cat "$work/fgfs.pid" 2>/dev/null)
[ -n "$fg_pid" ] || { echo "FAIL: FlightGear did not start (see $work/fgfs.log)"; exit 1; }
echo "FlightGear started, process $fg_pid"

python3 "$here/fg_check.py" "$build/bin/panelhost" "$port" "$work" "$fg_pid"
status=$?
kill "$fg_pid" 2>/dev/null
wait "$wrapper" 2>/dev/null
[ $status -eq 0 ] && echo "FlightGear link check: PASSED" || echo "FlightGear link check: FAILED (see $work)"
exit $status
