#!/usr/bin/env bash
# Builds everything and runs every test. In CI (CI set) the whole suite runs a second time under
# AddressSanitizer and UndefinedBehaviorSanitizer, and every fuzz target runs briefly.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/line-counts.sh
bash scripts/readme-check.sh
[ -n "${CI:-}" ] && bash scripts/format-check.sh
[ -n "${CI:-}" ] && bash scripts/page-lint.sh
# The search page's engine (folding, Shift_JIS, the scanner, search and sort) in Node, before any build.
node --test tests/page/unit/
extra=()
[ -n "${CI:-}" ] && extra+=(-DORV_WERROR=ON)
cmake -S . -B build -G Ninja "${extra[@]}"
cmake --build build
# The assembler's golden check, where the history it compares is at hand.
if [ -n "${CI:-}" ] && git rev-parse -q --verify '630dc75^{commit}' >/dev/null; then bash scripts/page-golden.sh build; fi
ctest --test-dir build --output-on-failure

if [ -n "${CI:-}" ]; then
  # The Debian package, unpacked and run as an installed program.
  bash scripts/package-check.sh build
  # The same tests with both sanitizers; any report fails the run. The browser test drives Node.js and
  # Chromium, not this code, so it runs in the normal build only.
  cmake -S . -B build-asan -G Ninja -DORV_WERROR=ON -DORV_SANITIZE=ON
  cmake --build build-asan
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure -E search_page_browser
  bash scripts/fuzz.sh 8
fi
