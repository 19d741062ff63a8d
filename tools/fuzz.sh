#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ (clang, ASan and UBSan, the `fuzz` preset, in build-fuzz/)
# and runs them.
#
#   tools/fuzz.sh                  every target for PANEL_FUZZ_SECONDS (4) seconds, as CTest tests
#                                  labelled `fuzz`; fails on any finding
#   tools/fuzz.sh --long TARGET [libFuzzer options...]
#                                  one target until stopped (or -runs=/-max_total_time=), its new
#                                  inputs kept in build-fuzz/fuzz/corpus/TARGET
#
# A finding is written as crash-*, leak-*, timeout-* or oom-* into build-fuzz/fuzz/findings/TARGET.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

# clang with its runtime libraries, libFuzzer among them.
bash tools/deps.sh clang libclang-rt-dev

if [ "${1:-}" = "--long" ]; then
  target="${2:?usage: tools/fuzz.sh --long TARGET [libFuzzer options...]}"
  shift 2
  cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz
  fuzz_dir="$root/build-fuzz/fuzz"
  export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
  export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
  mkdir -p "$fuzz_dir/corpus/$target" "$fuzz_dir/findings/$target"
  exec "$fuzz_dir/$target" -artifact_prefix="$fuzz_dir/findings/$target/" -print_final_stats=1 "$@" \
    "$fuzz_dir/corpus/$target" "$root/fuzz/corpus/$target"
fi

# A run length given here stays in build-fuzz's cache for the runs after it.
if [ -n "${PANEL_FUZZ_SECONDS:-}" ]; then
  cmake --preset fuzz -DPANEL_FUZZ_SECONDS="$PANEL_FUZZ_SECONDS" >/dev/null
fi
cmake --workflow --preset fuzz
