#!/usr/bin/env bash
# Configures and builds everything into build/ (two jobs: the machine has two cores).
# KALMERA_WERROR=ON in the environment turns compiler warnings into errors (CI does).
set -eu
cd "$(dirname "$0")/.."
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
[ -n "${KALMERA_WERROR:-}" ] && options+=("-DKALMERA_WERROR=$KALMERA_WERROR")
cmake -S . -B build -G Ninja "${options[@]}" >/dev/null
cmake --build build -j 2
