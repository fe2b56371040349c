#!/usr/bin/env bash
# Starts the tool on a virtual X display, waits for its window, saves a screenshot of the whole
# screen to the file given, prints the window's size, and ends the tool.
# Usage: scripts/screenshot.sh OUT.png [PROGRAM [ARGUMENT...]]
set -euo pipefail
out=${1:?usage: screenshot.sh OUT.png [PROGRAM]}
program=${2:-$(dirname "$0")/../build/orvessa}
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $app $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
"$program" "${@:3}" >/dev/null 2>&1 &
app=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name 'Orvessa' | head -n 1)
sleep 1
import -window root "$out"
xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'
