#!/usr/bin/env bash
# The tests that start threads (ctest label `threads`: the platform's threads, clock and audio, the
# navigation display's search worker, the FMC's heading and vertical workers, the FlightGear link,
# the browser server),
# built with ThreadSanitizer in their own folder and run there. Any report fails the test that
# caused it. A second run rebuilds nothing that is current.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${BUILD_DIR:-$root/build-tsan}"

# GCC's ThreadSanitizer runtime; g++ brings it on Debian, but say so rather than rely on it.
bash "$root/tools/deps.sh" libtsan2

if [ ! -f "$build_dir/build.ninja" ]; then
  cmake -S "$root" -B "$build_dir" -G Ninja -DPANEL_TSAN=ON
fi
# Only the programs that run here; each depends on the modules and data it loads.
cmake --build "$build_dir" -j "${PANEL_JOBS:-2}" --target \
  platform_tests audio_tests navdisplay_tests fmcomputer_tests sim_host_tests fglink_tests fglink_session_tests \
  web_tests

# The whole KSFO-KLAX flight takes about twenty minutes instrumented; the same heading and vertical
# workers fly the first part of it in ClosedLoop.TheFmcsWorkersTurnAndClimbTheAircraft.
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 history_size=4"
ctest --test-dir "$build_dir" -L threads -E '^ClosedLoop\.TheFmcFliesAShippedPlanThroughTheAircraft$' \
  --output-on-failure -j 2 --timeout 600
