#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ (clang, ASan and UBSan, in build-fuzz/) and runs them.
#
#   tools/fuzz.sh                  every target for FUZZ_SECONDS (4) seconds; fails on any finding
#   tools/fuzz.sh --long TARGET [libFuzzer options...]
#                                  one target until stopped (or -runs=/-max_total_time=), its new
#                                  inputs kept in build-fuzz/corpus/TARGET
#
# A finding is written as crash-*, leak-*, timeout-* or oom-* into build-fuzz/findings/TARGET.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${FUZZ_BUILD_DIR:-$root/build-fuzz}"
seconds="${FUZZ_SECONDS:-4}"

# clang with its runtime libraries, libFuzzer among them.
bash "$root/tools/deps.sh" clang libclang-rt-dev

if [ ! -f "$build_dir/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$build_dir" -G Ninja -DPANEL_FUZZ=ON
fi
cmake --build "$build_dir" -j "${PANEL_JOBS:-2}" --target fuzzers

# Inputs longer than these add bytes, not paths: the long files are records repeated. Longer
# seeds are read cut to this length.
max_len() {
  case "$1" in
    navdata|fmc_plan|nd_plan) echo 8192 ;;
    route) echo 512 ;;
    *) echo 4096 ;;
  esac
}

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

run_target() {
  local target="$1"
  shift
  local work="$build_dir/corpus/$target" findings="$build_dir/findings/$target"
  mkdir -p "$work" "$findings"
  # New inputs go into the first folder; the committed seeds are only read.
  "$build_dir/fuzz/$target" -max_len="$(max_len "$target")" -artifact_prefix="$findings/" \
    -print_final_stats=1 "$@" "$work" "$root/fuzz/corpus/$target"
}

if [ "${1:-}" = "--long" ]; then
  target="${2:?usage: tools/fuzz.sh --long TARGET [libFuzzer options...]}"
  shift 2
  run_target "$target" "$@"
  exit
fi

failed=()
for dir in "$root"/fuzz/corpus/*/; do
  target="$(basename "$dir")"
  log="$build_dir/findings/$target.log"
  mkdir -p "$build_dir/findings"
  if run_target "$target" -max_total_time="$seconds" >"$log" 2>&1; then
    echo "fuzz $target: $(grep -E '^#[0-9]+' "$log" | tail -1 | awk '{print $1, $3, $4, $5, $6}')"
  else
    echo "fuzz $target: FOUND a fault, see $log"
    tail -40 "$log"
    failed+=("$target")
  fi
done
total=$(ls -d "$root"/fuzz/corpus/*/ | wc -l)
echo "fuzz: $((total - ${#failed[@]})) passed, ${#failed[@]} failed"
((${#failed[@]} == 0))
