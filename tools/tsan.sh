#!/usr/bin/env bash
# The tests that start threads (ctest label `threads`: the platform's threads, clock and audio, the
# navigation display's search worker, the FMC's heading and vertical workers, the simulator links,
# the browser server), built with ThreadSanitizer in build-tsan/ (the `tsan` preset) and run there.
# Any report fails the test that caused it. A second run rebuilds nothing that is current.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

# GCC's ThreadSanitizer runtime; g++ brings it on Debian, but say so rather than rely on it.
bash tools/deps.sh libtsan2
cmake --workflow --preset tsan
