#!/usr/bin/env bash
# Installs every system package the build, the window and the browser tests and the fuzz targets need
# (Debian, as root).
set -euo pipefail
pkgs=(cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev xvfb xauth x11-utils
      xdotool fonts-ipafont-gothic xdg-utils chromium imagemagick nodejs npm
      clang libclang-rt-14-dev)  # clang's libFuzzer runtime, for the fuzz targets
missing=()
for p in "${pkgs[@]}"; do
  # A Node.js that is not Debian's own brings its npm along, and Debian's npm package conflicts with it.
  [ "$p" = npm ] && command -v npm >/dev/null && continue
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends \
    -o DPkg::Lock::Timeout=600 "${missing[@]}"
fi
