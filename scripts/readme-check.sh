#!/usr/bin/env bash
# Every test the README cites ("Suite.TestName" in backquotes) exists, so that its table of bad input and
# what covers it stays true as tests are merged and renamed.
set -euo pipefail
cd "$(dirname "$0")/.."
missing=0
for name in $(grep -oE '`[A-Z][A-Za-z0-9]*\.[A-Z][A-Za-z0-9]{14,}`' README.md | tr -d '`' | sort -u); do
  grep -rqE "TEST(_F)?\(${name%%.*}, ${name#*.}\)" tests || { echo "README cites a test that does not exist: $name"; missing=1; }
done
exit $missing
