#!/usr/bin/env bash
# Builds the Debian packages of a build tree with cpack, as the README's install commands do, into
# a folder of their own that the package tests read: cockpit-panel_<version>_<arch>.deb and
# cockpit-panel-data_<version>_all.deb.
#
#   build_packages.sh BUILD_DIR OUT_DIR
set -euo pipefail
build=$(realpath "$1") out=$2
rm -rf "$out"
mkdir -p "$out"
out=$(realpath "$out")
start=$(date +%s%N)
(cd "$out" && cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1) ||
  { cat "$out/cpack.log"; echo "FAIL: cpack failed" >&2; exit 1; }
echo "made in $(( ($(date +%s%N) - start) / 1000000 )) ms:"
for deb in "$out"/*.deb; do echo "  $(basename "$deb"): $(du -k "$deb" | cut -f1) kB"; done
[ "$(ls "$out"/*.deb | wc -l)" -eq 2 ] || { echo "FAIL: cpack did not make the two packages" >&2; exit 1; }
