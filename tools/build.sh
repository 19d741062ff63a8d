#!/usr/bin/env bash
# Configures and builds the project with a CMake preset (default: `default`, in build/; `asan`,
# `tsan` and `fuzz` build the other variants in their own folders, see CMakePresets.json).
# Configuring every time applies a changed preset to an existing build folder; it costs little
# when nothing changed.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
preset="${1:-default}"
cd "$root"

bash tools/deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
