#!/usr/bin/env bash
# Configures and builds everything into build/ (two jobs: the machine has two cores).
set -eu
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j 2
