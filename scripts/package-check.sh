#!/usr/bin/env bash
# Builds the Debian package from a finished build, unpacks it into a scratch root and runs the unpacked
# program as an installed one: its version, then one conversion of the sample without a display. The
# package, its metainfo, its icons and its bash completion are checked first.
# Usage: scripts/package-check.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
(cd "$build" && rm -f orvessa_*.deb && cpack -G DEB >/dev/null)
deb=$(ls "$build"/orvessa_*.deb)
dpkg-deb --info "$deb" | grep -E '^ (Package|Version|Depends|Recommends):'
# Checked as Debian checks a package: an error or a warning fails (its output says which).
lintian --tag-display-limit 0 --fail-on error,warning "$deb"
root=$(mktemp -d /tmp/orv-deb.XXXXXX)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/orvessa.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.orvessa108.Orvessa.metainfo.xml"
for size in 16 24 32 48 64 128 256; do
  file "$root/usr/share/icons/hicolor/${size}x$size/apps/orvessa.png" | grep -q "$size x $size"
done
"$root/usr/bin/orvessa" --version
bash -n "$root/usr/share/bash-completion/completions/orvessa"
mkdir "$root/work"
cp "$root/usr/share/orvessa/sample.txt" "$root/work/"
(cd "$root/work" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_DATA_HOME="$root/data" \
  "$root/usr/bin/orvessa" convert sample.txt --parent 住所録 --fields 読み,名前,住所1,住所2,電話 \
  --web-db --search-field 名前 2>/dev/null)
test -s "$root/work/sample.xml" && test -s "$root/data/orvessa/XmlSearchTemp.htm"
echo "package: $(basename "$deb") installs, runs and converts the sample"
