#!/usr/bin/env bash
# What Debian asks of the packages (as build_packages.sh made them), looked at in the packages
# themselves and in their unpacked files:
# - the split: the world data and its database in cockpit-panel-data, Architecture all, which the
#   program package needs at exactly its own version; nothing of one in the other;
# - the licence: COPYING is the GPL version 2, and each package's copyright file names GPL-2+ for
#   the project's files and for the world data, with the licence's text;
# - hardened binaries: every program, library and module bound at start (BIND_NOW) with read-only
#   relocations (GNU_RELRO), without the compilers' .comment, every shared object naming the C
#   library, and the fortified functions in use;
# - the desktop entry, the AppStream metadata and the icon at each size of the icon theme, valid
#   for desktop-file-validate and appstreamcli, and pointing at what the package holds.
#
#   package_checks_test.sh DEBS_DIR SOURCE_DIR
set -euo pipefail
debs=$(realpath "$1") source=$(realpath "$2")
fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/panel-package-checks.XXXXXX")
trap 'rm -rf "$work"' EXIT

deb=$(ls "$debs"/cockpit-panel_*.deb) data_deb=$(ls "$debs"/cockpit-panel-data_*.deb)
version=$(dpkg-deb -f "$deb" Version)
echo "cockpit-panel: $(du -k "$deb" | cut -f1) kB; cockpit-panel-data: $(du -k "$data_deb" | cut -f1) kB"

# The split.
[ "$(dpkg-deb -f "$data_deb" Architecture)" = all ] || fail "the data package is not Architecture: all"
[ "$(dpkg-deb -f "$deb" Architecture)" = "$(dpkg --print-architecture)" ] || fail "the program package is not this machine's"
[ "$(dpkg-deb -f "$data_deb" Version)" = "$version" ] || fail "the two packages' versions differ"
[[ ", $(dpkg-deb -f "$deb" Depends)," == *", cockpit-panel-data (= $version),"* ]] ||
  fail "the program package does not need cockpit-panel-data (= $version): $(dpkg-deb -f "$deb" Depends)"
[ -z "$(dpkg-deb -f "$data_deb" Depends)" ] || fail "the data package needs something: $(dpkg-deb -f "$data_deb" Depends)"
program_files=$(dpkg-deb -c "$deb" | awk '{print $6}') data_files=$(dpkg-deb -c "$data_deb" | awk '{print $6}')
for f in navdb/idx.dat navdb/vor.dat navdata/nav.dat.gz navdata/apt.dat.gz navdata/AptNavGNULicence.txt; do
  grep -qx "./usr/share/cockpit-panel/$f" <<<"$data_files" || fail "the data package has no /usr/share/cockpit-panel/$f"
done
grep -q '^./usr/share/cockpit-panel/nav\(data\|db\)/.' <<<"$program_files" && fail "the program package holds world data"
grep -v '^./usr/share/\(cockpit-panel/nav\(data\|db\)\|doc/cockpit-panel-data\)/\|^./\(usr/\(share/\(cockpit-panel/\|doc/\)\?\)\?\)\?$' \
  <<<"$data_files" && fail "the data package holds more than the world data and its documentation"
grep -qx './usr/bin/panelhost' <<<"$program_files" || fail "the program package has no panelhost"

unpacked=$work/unpacked
dpkg-deb -x "$deb" "$unpacked"
dpkg-deb -x "$data_deb" "$unpacked"
usr=$unpacked/usr

# The licence.
grep -q '^ *GNU GENERAL PUBLIC LICENSE$' "$source/COPYING" && grep -q '^ *Version 2, June 1991$' "$source/COPYING" ||
  fail "COPYING is not the GNU GPL version 2"
for package in cockpit-panel cockpit-panel-data; do
  copyright=$usr/share/doc/$package/copyright
  [ -f "$copyright" ] || fail "$package has no copyright file"
  # Each Files stanza with its License, as "files=licence" lines.
  stanzas=$(awk '/^Files:/ {files = substr($0, 8)} /^License:/ && files != "" {print files "=" substr($0, 10); files = ""}' "$copyright")
  grep -qx '\*=GPL-2+' <<<"$stanzas" || fail "$package's copyright does not name GPL-2+ for the project's files: $stanzas"
  grep -qx 'data/navdata/\*=GPL-2+' <<<"$stanzas" || fail "$package's copyright does not cover the world data: $stanzas"
  grep -q "^ .*/usr/share/common-licenses/GPL-2" "$copyright" || fail "$package's copyright does not point at the licence's text"
  [ -f "$usr/share/doc/$package/changelog.gz" ] || fail "$package has no changelog"
done

# Hardened binaries.
elves=0
while IFS= read -r -d '' f; do
  head -c 4 "$f" | cmp -s - <(printf '\177ELF') || continue
  elves=$((elves + 1))
  name=${f#"$unpacked"}
  # Read whole before grep looks, so that grep stopping early cannot fail the pipe.
  dynamic=$(readelf -dW "$f") segments=$(readelf -lW "$f") sections=$(readelf -SW "$f")
  grep -q 'FLAGS.*\bNOW\b' <<<"$dynamic" || fail "$name is not bound at start (-z now)"
  grep -q 'GNU_RELRO' <<<"$segments" || fail "$name has no read-only relocations (-z relro)"
  grep -q ' \.comment ' <<<"$sections" && fail "$name keeps its .comment section"
  if [[ "$f" == *.so || "$f" == *.gau ]]; then
    grep -q 'NEEDED.*\[libc\.so\.6\]' <<<"$dynamic" || fail "$name does not name the C library"
  fi
done < <(find "$usr" -type f -print0)
[ "$elves" -ge 20 ] || fail "only $elves ELF files in the package"
for f in bin/panelhost bin/routeplan lib/cockpit-panel/platform/libpanel_platform.so; do
  grep -q ' __[a-z]*_chk@' <<<"$(readelf --dyn-syms -W "$usr/$f")" || fail "/usr/$f calls no fortified functions"
done
echo "ok: $elves programs, libraries and modules hardened"

# The desktop entry, its metadata and the icon.
app=org.example.cockpit_panel
desktop=$usr/share/applications/$app.desktop metainfo=$usr/share/metainfo/$app.metainfo.xml
desktop-file-validate "$desktop" || fail "desktop-file-validate refuses $app.desktop"
appstreamcli validate --no-net --pedantic "$metainfo" >"$work/appstream.txt" 2>&1 || true
cat "$work/appstream.txt"
grep -q 'Validation was successful' "$work/appstream.txt" && ! grep -q '^[EWIP]:' "$work/appstream.txt" ||
  fail "appstreamcli finds fault with $app.metainfo.xml"
grep -q "<launchable type=\"desktop-id\">$app.desktop</launchable>" "$metainfo" || fail "the metadata does not launch $app.desktop"
exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$usr/bin/$exec_program" ] || fail "the desktop entry runs $exec_program, which the package does not have"
icon=$(sed -n 's/^Icon=//p' "$desktop")
for size in 16 22 24 32 48 64 128 256; do
  png=$usr/share/icons/hicolor/${size}x${size}/apps/$icon.png
  [ -f "$png" ] || fail "no ${size} px icon $icon.png"
  # The PNG header's width, height, bit depth and colour type (6: RGBA, for its see-through corners).
  read -r width height depth colour < <(od -An -tu1 -j16 -N10 "$png" |
    awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8, $9, $10}')
  [ "$width $height $depth $colour" = "$size $size 8 6" ] ||
    fail "the ${size} px icon is ${width}x${height}, depth $depth, colour type $colour"
done
echo "ok: the packages are split, licensed, hardened and carry a valid desktop entry"
