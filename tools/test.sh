#!/usr/bin/env bash
# Builds everything and runs every test: configure, build and test of a CMake workflow preset
# (default: `default`, in build/; `asan` runs the same tests with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan/). A second run rebuilds nothing that is current.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

bash tools/deps.sh
cmake --workflow --preset "${1:-default}"
