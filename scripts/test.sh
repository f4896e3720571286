#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/install-peers.sh
scripts/build.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j 2 --timeout 300
