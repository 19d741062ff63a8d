#!/usr/bin/env bash
# The load run: the default panel (every module) with the host's aircraft flying for HOURS (10)
# simulated hours while every clickable area of the panel is clicked again and again; the process's
# resident size is logged every ten minutes and its open files, mappings and named blocks before
# and after reloads. Not a test: it takes about 40 minutes of one core. Run from anywhere:
#
#   bash bench/load_run.sh [OUT_DIR]        (HOURS=1 for a shorter run; BUILD_DIR as tools/build.sh)
#
# The figures are in OUT_DIR/run/stats.log (default out/load), judged by load_report.py.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${BUILD_DIR:-$root/build}"
hours="${HOURS:-10}"
out="$(mkdir -p "${1:-$root/out/load}" && cd "${1:-$root/out/load}" && pwd)"
panelhost="$build_dir/bin/panelhost"
[ -x "$panelhost" ] || { echo "load_run.sh: $panelhost is not built (bash tools/build.sh)" >&2; exit 1; }

# Where the controls are: the panel's clickable areas once its displays have started.
printf 'at 8 dump areas\n' > "$out/areas-scenario.txt"
"$panelhost" run --scenario "$out/areas-scenario.txt" --plan KSFO-KLAX.pln --seconds 10 --out "$out/areas" >/dev/null
/usr/bin/python3 "$root/bench/load_scenario.py" --areas "$out/areas/areas-areas.txt" --hours "$hours" \
  --out "$out/scenario.txt"
last="$(awk '$1 == "at" { if ($2 > t) t = $2 } END { printf "%d", t + 10 }' "$out/scenario.txt")"

echo "load run: $hours simulated hours ($last s), progress in $out/run.log" >&2
"$panelhost" run --scenario "$out/scenario.txt" --plan KSFO-KLAX.pln --seconds "$last" --out "$out/run" \
  >/dev/null 2>"$out/run.log"
/usr/bin/python3 "$root/bench/load_report.py" "$out/run/stats.log" --hours "$hours"
