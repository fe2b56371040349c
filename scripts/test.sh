#!/usr/bin/env bash
# Builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
extra=()
[ -n "${CI:-}" ] && extra+=(-DORV_WERROR=ON)
cmake -S . -B build -G Ninja "${extra[@]}"
cmake --build build
ctest --test-dir build --output-on-failure
