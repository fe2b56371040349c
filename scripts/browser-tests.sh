#!/usr/bin/env bash
# Runs the search page tests (tests/page/) in headless browsers. Their node packages are installed from the
# lock file, the first time, into a folder outside the sources (ORV_NODE_DIR, by default build/page-node),
# so the tree holds only our code.
set -euo pipefail
cd "$(dirname "$0")/../tests/page"
export ORV_NODE_DIR=${ORV_NODE_DIR:-$(cd ../.. && pwd)/build/page-node}
if ! cmp -s package-lock.json "$ORV_NODE_DIR/package-lock.json"; then
  mkdir -p "$ORV_NODE_DIR"
  cp package.json package-lock.json "$ORV_NODE_DIR/"
  npm ci --prefix "$ORV_NODE_DIR" --prefer-offline --no-audit --no-fund --loglevel=error
fi
# Every test runs in each engine (ORV_BROWSERS to choose).
status=0
for browser in ${ORV_BROWSERS:-chromium firefox}; do
  echo "# $browser"
  ORV_BROWSER=$browser node --test --test-concurrency=1 ./*.test.mjs || status=1
done
exit $status
