#!/usr/bin/env bash
# Checks the search page's modules (resources/page/) and their Node tests (tests/page/unit/) with
# Prettier and ESLint. The tools are installed from the lock file, the first time, into a folder outside
# the sources (ORV_LINT_DIR, by default build/page-lint), so the tree holds only our code.
#   bash scripts/page-lint.sh [--fix]
set -euo pipefail
cd "$(dirname "$0")/.."
here=scripts/page-lint
dir=${ORV_LINT_DIR:-$(pwd)/build/page-lint}
if ! cmp -s "$here/package-lock.json" "$dir/package-lock.json"; then
  mkdir -p "$dir"
  cp "$here/package.json" "$here/package-lock.json" "$dir/"
  npm ci --prefix "$dir" --prefer-offline --no-audit --no-fund --loglevel=error
fi
# The configuration sits beside the tools so that its imports find them.
cp "$here/eslint.config.mjs" "$here/prettier.json" "$dir/"
files=(resources/page/*.js tests/page/unit/*.mjs)
if [ "${1:-}" = --fix ]; then
  "$dir/node_modules/.bin/prettier" --config "$dir/prettier.json" --write "${files[@]}"
  "$dir/node_modules/.bin/eslint" --config "$dir/eslint.config.mjs" --fix "${files[@]}"
  exit
fi
"$dir/node_modules/.bin/prettier" --config "$dir/prettier.json" --check "${files[@]}"
"$dir/node_modules/.bin/eslint" --config "$dir/eslint.config.mjs" --max-warnings 0 "${files[@]}"
echo "page lint: ${#files[@]} files as Prettier and ESLint say"
