#!/usr/bin/env bash
# lintian, pedantic and with its information tags, on the packages build_packages.sh made: no
# errors and no warnings; the information and pedantic tags left are printed.
#
#   lintian_test.sh DEBS_DIR
set -euo pipefail
debs=$(realpath "$1")
if ! command -v lintian >/dev/null; then
  echo "SKIP: lintian is not installed (tools/deps.sh installs it)"
  exit 77
fi
report=$(lintian -I --pedantic "$debs"/cockpit-panel_*.deb "$debs"/cockpit-panel-data_*.deb 2>&1 || true)
echo "$report" | grep -v 'running with root privileges' || true
if grep -q '^[EW]: ' <<<"$report"; then
  echo "FAIL: lintian has errors or warnings" >&2
  exit 1
fi
grep -q '^[A-Z]: \|^$' <<<"$report" || { echo "FAIL: lintian did not run: $report" >&2; exit 1; }
echo "ok: no errors and no warnings; $(grep -c '^[IP]: ' <<<"$report" || true) information and pedantic tags"
