#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time.
#   scripts/fuzz.sh [SECONDS_PER_TARGET]   (default 60)
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-60}
# (Without PNG checksums in the picture reader: libFuzzer's changes reach the pixels.)
flags="-fsanitize=address,undefined -fsanitize=fuzzer-no-link -fno-omit-frame-pointer -DFUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS="$flags" \
  -DKALMERA_FUZZ=ON -DKALMERA_GUI=OFF -DKALMERA_TESTS=OFF -DKALMERA_BENCH=OFF >/dev/null
cmake --build build-fuzz -j 2 --target fen_fuzz fen_diff_fuzz ini_fuzz picture_fuzz
for target in fen_fuzz fen_diff_fuzz ini_fuzz picture_fuzz; do
  corpus=build-fuzz/corpus-$target
  mkdir -p "$corpus"
  # The picture reader starts from small pictures of each kind.
  [ "$target" = picture_fuzz ] && [ -d tests/recognize/seeds ] && cp -n tests/recognize/seeds/* "$corpus"/
  echo "== $target for ${seconds}s"
  length=4096
  [ "$target" = picture_fuzz ] && length=65536  # a picture with a board in it
  LSAN_OPTIONS=suppressions=$PWD/fuzz/lsan-suppressions.txt \
  build-fuzz/fuzz/$target "$corpus" -max_total_time="$seconds" -max_len=$length \
    -print_final_stats=1 2>&1 | grep -E 'stat::number_of_executed_units|Done|ERROR|SUMMARY' || true
done
