#!/usr/bin/env bash
# Installs every system package the build, the window and the browser tests and the fuzz targets need
# (Debian, as root).
set -euo pipefail
pkgs=(cmake ninja-build g++ zlib1g-dev libzip-dev libexpat1-dev pkg-config libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev xvfb xauth x11-utils
      xdotool fonts-ipafont-gothic clang-format xdg-utils chromium firefox-esr imagemagick
      clang libclang-rt-14-dev  # clang's libFuzzer runtime, for the fuzz targets
      dpkg-dev file desktop-file-utils  # the Debian package: its dependencies, its menu entry checked
      lintian appstream librsvg2-bin)  # the package checked as Debian checks one; the icons rendered
# Node.js runs the browser tests; a machine that already has it (from any source) keeps its own, whose
# npm would conflict with Debian's npm package.
command -v node >/dev/null && command -v npm >/dev/null || pkgs+=(nodejs npm)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends \
    -o DPkg::Lock::Timeout=600 "${missing[@]}"
fi
