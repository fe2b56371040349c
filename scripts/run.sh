#!/usr/bin/env bash
# Builds the tool and starts it. Where there is no display to show the window on, it says so in one line
# and shows the command line instead: the bundled sample converted into a scratch folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build --target orvessa
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then exec ./build/orvessa; fi
scratch=$(mktemp -d "${TMPDIR:-/tmp}/orvessa-sample.XXXXXX")
cp resources/sample.txt "$scratch/sample.txt"
echo "No display to open the window on: converting the bundled sample with the command line instead."
./build/orvessa convert "$scratch/sample.txt" --parent 名簿 --fields 読み,氏名,住所,建物,電話 \
  --web-db --search-field 氏名 --page "$scratch/XmlSearchTemp.htm"
