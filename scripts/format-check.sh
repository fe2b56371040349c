#!/usr/bin/env bash
# Fails when a C++ file differs from the project's .clang-format; prints the files that do.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if ! clang-format --dry-run --Werror "${files[@]}" 2>/tmp/orv-format.log; then
  grep -o '^[^:]*\.\(cpp\|h\)' /tmp/orv-format.log | sort -u | sed 's/^/not formatted: /'
  echo "run: clang-format -i \$(git ls-files '*.cpp' '*.h')"
  exit 1
fi
echo "format: ${#files[@]} files as .clang-format says"
