#!/usr/bin/env bash
# Configures (once) and builds the project. BUILD_DIR and PANEL_SANITIZE choose the variant.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${BUILD_DIR:-$root/build}"
sanitize="${PANEL_SANITIZE:-OFF}"

bash "$root/tools/deps.sh"
if [ ! -f "$build_dir/build.ninja" ]; then
  cmake -S "$root" -B "$build_dir" -G Ninja -DPANEL_SANITIZE="$sanitize"
fi
cmake --build "$build_dir" -j "${PANEL_JOBS:-2}"
