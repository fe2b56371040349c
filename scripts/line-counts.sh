#!/usr/bin/env bash
# Prints the lines of code (src/ and the page template) against the lines of tests (tests/ and fuzz/
# sources), and their proportion, which the project keeps at about a quarter to a third.
set -euo pipefail
cd "$(dirname "$0")/.."
count() { find "$@" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.mjs' -o -name '*.sh' -o -name '*.html' \) \
  -not -path '*/node_modules/*' -print0 | xargs -0 cat | wc -l; }
code=$(count src resources/search.html)
tests=$(count tests fuzz)
echo "lines: code $code, tests $tests ($((100 * tests / code))% of the code)"
