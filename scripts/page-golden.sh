#!/usr/bin/env bash
# The assembler's golden check: the page's source tree as first split into files (its markup, style and
# script, the code unchanged) must assemble into the very bytes of the template the single source file
# made before the split. Needs the git history; the assembler is build/ascii_page.
#   bash scripts/page-golden.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)
split=630dc75 single=2041fef
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
git archive "$split" resources/page | tar -x -C "$work"
git show "$single:resources/search.html" >"$work/search.html"
"$build/ascii_page" "$work/resources/page/page.html" "$work/split.mvo"
"$build/ascii_page" "$work/search.html" "$work/single.mvo"
cmp "$work/split.mvo" "$work/single.mvo"
echo "page golden: the split tree assembles into the single file's template ($(wc -c <"$work/single.mvo") bytes)"
