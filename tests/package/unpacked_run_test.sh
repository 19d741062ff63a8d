#!/usr/bin/env bash
# Unpacks the Debian packages of a build tree (the program and its data, as build_packages.sh made
# them) with dpkg-deb into one empty folder, as installing both lays them out, and runs the
# unpacked programs from there in a mount namespace where the build tree and the sources are empty
# folders, so nothing can come from them. Checks what the program package declares, that the run
# writes its pictures, and that modules.log has every module of the default panel loaded from the
# unpacked package, known as the run's root's.
#
#   unpacked_run_test.sh BUILD_DIR SOURCE_DIR SCENARIO DEBS_DIR
set -euo pipefail
build=$(realpath "$1") source=$(realpath "$2") scenario=$3 debs=$4
fail() { echo "FAIL: $*" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/panel-package.XXXXXX")
trap 'rm -rf "$work"' EXIT
case "$work/" in "$build"/* | "$source"/*) fail "the work folder $work is inside the trees it must hide" ;; esac
if ! unshare -m true 2>/dev/null; then
  echo "SKIP: no mount namespace here (unshare -m needs CAP_SYS_ADMIN); the build tree cannot be hidden"
  exit 77
fi

deb=$(ls "$debs"/cockpit-panel_*.deb) data_deb=$(ls "$debs"/cockpit-panel-data_*_all.deb)
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for needed in fonts-liberation fonts-dseg libsdl2 libpng libfreetype libfontconfig libc6 libstdc++6; do
  [[ ",$depends" == *[\ ,]$needed* ]] || fail "the package does not depend on $needed"
done

unpacked=$work/unpacked
dpkg-deb -x "$deb" "$unpacked"
dpkg-deb -x "$data_deb" "$unpacked"
usr=$unpacked/usr
for f in bin/panelhost bin/routeplan bin/navimport bin/artwork lib/cockpit-panel/platform/libpanel_platform.so \
         share/cockpit-panel/panel/default.cfg share/cockpit-panel/scenarios/demo.txt \
         share/cockpit-panel/root/NavData/FlightPlans/KSFO-KLAX.pln share/cockpit-panel/root/Sound/talkup.wav \
         share/cockpit-panel/navdata/AptNavGNULicence.txt share/cockpit-panel/navdata/nav.dat.gz \
         share/cockpit-panel/navdb/idx.dat share/doc/cockpit-panel/copyright share/doc/cockpit-panel/changelog.gz \
         share/man/man1/panelhost.1.gz share/man/man1/routeplan.1.gz; do
  [ -f "$usr/$f" ] || fail "the package has no /usr/$f"
done
modules=$(ls "$usr/lib/cockpit-panel/gauges/" | grep -c '\.gau$')
[ "$modules" -eq "$(ls "$build/gauges/" | grep -c '\.gau$')" ] || fail "the package's modules are not the built ones"
panel_modules=$(grep -o '^gauge[0-9]*=[^!]*' "$usr/share/cockpit-panel/panel/default.cfg" | cut -d= -f2 | sort -u)
echo "modules in the package: $modules; on the default panel: $(echo "$panel_modules" | wc -l)"

# Everything from here on runs with the build tree and the sources hidden.
cp "$scenario" "$work/short.txt"
cat >"$work/inside.sh" <<INSIDE
set -euo pipefail
mount -t tmpfs -o size=1m hidden "$build"
[ -z "\$(ls -A "$build")" ] || { echo "the build tree is still there"; exit 1; }
[ "$source" = "$build" ] || mount -t tmpfs -o size=1m hidden "$source"
unset PANEL_DATA_DIR PANEL_MODULE_DIR PANEL_NAVDATA_DIR
export HOME="$work/home"
for program in panelhost routeplan navimport artwork; do
  "$usr/bin/\$program" --version | head -1
  "$usr/bin/\$program" --help >"$work/\$program-help.txt"
done
"$usr/bin/routeplan" --out "$work/plan.pln" KSFO SFO V25 SNS PRB RZS KLAX
"$usr/bin/panelhost" run --scenario "$work/short.txt" --plan KSFO-KLAX.pln --seconds 6 --out "$work/out" >"$work/run.log" 2>&1
INSIDE
unshare -m --propagation private bash "$work/inside.sh" || { cat "$work/run.log" 2>/dev/null; fail "the unpacked programs failed"; }

grep -q -- "--keep-state" "$work/panelhost-help.txt" || fail "panelhost --help does not explain --keep-state"
grep -q "^\[WAYPOINTS\]" "$work/plan.pln" 2>/dev/null || grep -q "WAYPOINT" "$work/plan.pln" ||
  fail "the unpacked routeplan made no plan"
ls "$work"/out/window*.png >/dev/null 2>&1 || fail "the run wrote no window pictures"
ls "$work"/out/started-window*.png >/dev/null 2>&1 || fail "the run wrote no snapshot"
[ -s "$work/out/track.png" ] || fail "the run wrote no track"
log=$work/out/modules.log
echo "modules.log:"; sed 's/^/  /' "$log"
for module in $panel_modules; do
  line=$(grep "^$module " "$log") || fail "modules.log has no $module"
  [[ "$line" == "$module $usr/lib/cockpit-panel/gauges/$module.gau as $work/out/root/Gauges/$module.gau" ]] ||
    fail "$module was not loaded from the unpacked package: $line"
done
[ "$(wc -l <"$log")" -eq "$(echo "$panel_modules" | wc -l)" ] || fail "modules.log lists modules not on the panel"
echo "ok: the unpacked package ran the default panel with the build tree and the sources hidden"
