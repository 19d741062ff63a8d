#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing, and any further
# packages named as arguments (a build variant's own: clang for the fuzz targets).
# Run by the README's two commands and by CI; safe to run again.
set -euo pipefail

packages=(
  cmake g++ ninja-build pkg-config ccache
  libgtest-dev libgmock-dev libbenchmark-dev
  libfreetype-dev libfontconfig-dev fonts-liberation fonts-dseg
  libpng-dev zlib1g-dev libsdl2-dev libasound2-dev
  libpugixml-dev           # flight plans of other simulators (XML)
  libcairo2-dev            # benchmark comparison only
  libcivetweb-dev          # the panel in a browser: HTTP and WebSocket
  chromium chromium-driver python3-selenium python3-pil  # its tests, in a real browser
  xvfb xauth xdotool       # and with the window viewer, on a virtual screen
  help2man dpkg-dev        # the manual pages; the Debian package's library dependencies
  lintian desktop-file-utils appstream  # the packages' checks: Debian's rules, the desktop entry
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
