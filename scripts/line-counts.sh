#!/usr/bin/env bash
# Prints the lines of code (src/ and the search page's source tree, resources/page/) against the lines of tests (tests/ and fuzz/
# sources), and their proportion, which the project keeps at about a quarter to a third: every line, and
# the lines that are not blank.
set -euo pipefail
cd "$(dirname "$0")/.."
files() { find "$@" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.js' -o -name '*.mjs' -o -name '*.css' -o -name '*.sh' -o -name '*.html' \) \
  -not -path '*/node_modules/*' -print0; }
count() { files "$@" | xargs -0 cat | wc -l; }
filled() { files "$@" | xargs -0 cat | grep -cv '^[[:space:]]*$'; }
code=$(count src resources/page) tests=$(count tests fuzz)
codeFilled=$(filled src resources/page) testsFilled=$(filled tests fuzz)
share() { awk -v t="$1" -v c="$2" 'BEGIN { printf "%.1f", 100 * t / c }'; }
echo "lines: code $code, tests $tests ($(share "$tests" "$code")% of the code)"
echo "non-blank lines: code $codeFilled, tests $testsFilled ($(share "$testsFilled" "$codeFilled")% of the code)"
