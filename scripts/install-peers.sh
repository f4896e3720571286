#!/usr/bin/env bash
# Installs the peers we measure and cross-check against (chessops, pinned in
# bench/peers/package-lock.json) from the npm registry into bench/peers/node_modules,
# which git ignores. Does nothing without Node.js or when they are there already;
# a failed download is reported, and the tests that need the peers then skip.
set -u
cd "$(dirname "$0")/../bench/peers"
command -v npm >/dev/null || { echo "install-peers: no npm here; the peer checks will be skipped"; exit 0; }
[ -f node_modules/chessops/package.json ] && exit 0
npm ci --no-audit --no-fund --loglevel=error >/dev/null 2>&1 ||
  echo "install-peers: npm ci failed; the peer checks will be skipped"
exit 0
