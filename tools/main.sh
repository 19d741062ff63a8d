#!/usr/bin/env bash
# The main job: builds what is missing and runs the panel.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${BUILD_DIR:-$root/build}"
BUILD_DIR="$build_dir" bash "$root/tools/build.sh"
mkdir -p "$root/out"
"$build_dir/bin/canvas_demo" "$root/out/canvas_demo.png"
