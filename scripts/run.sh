#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
if [ -x build/kalmera ]; then exec build/kalmera "$@"; fi
exec build/kalmera-fen --help
