#!/usr/bin/env bash
# Runs the browser tests; installs their node packages from the lock file the first time.
set -euo pipefail
cd "$(dirname "$0")"
if [ ! -d node_modules/playwright-core ]; then
  npm ci --prefer-offline --no-audit --no-fund --loglevel=error
fi
exec node --test --test-concurrency=1 ./*.test.mjs
