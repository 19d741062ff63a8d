#!/usr/bin/env bash
# Builds everything and runs every test. A second run rebuilds and reinstalls nothing that is current.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${BUILD_DIR:-$root/build}"
BUILD_DIR="$build_dir" bash "$root/tools/build.sh"
ctest --test-dir "$build_dir" --output-on-failure -j 2 --timeout 300
