#!/usr/bin/env bash
# How long kalmera-fen solve takes for positions of real games searched to a
# fixed depth by Debian's stockfish: one engine, then one engine a core on
# both cores (--threads 2). Prints the wall time of each run and the
# positions a second.
#   bench/solve-bench.sh [DEPTH] [COUNT]   (default depth 12, 1000 positions)
# The tool is taken from $KALMERA_BUILD (default: build).
set -eu
cd "$(dirname "$0")/.."
depth=${1:-12}
count=${2:-1000}
build=${KALMERA_BUILD:-build}
cmake --build "$build" --target kalmera-fen >/dev/null
engine=$(command -v stockfish || echo /usr/games/stockfish)
[ -x "$engine" ] || { echo "stockfish is not installed" >&2; exit 1; }
positions=tests/peers/game-positions.txt
[ -f ../shared/bench/positions.txt ] && positions=../shared/bench/positions.txt
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
head -n "$count" "$positions" > "$work/in.fen"
lines=$(wc -l < "$work/in.fen")
echo "$lines positions of $positions, depth $depth, $engine," \
     "$(nproc) cores ($(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'))"
# Other work on the machine takes cores from the engines: say how much there was.
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
for threads in 1 2; do
  t0=$(date +%s%N)
  "$build/kalmera-fen" solve --depth "$depth" --threads "$threads" --engine "$engine" \
    < "$work/in.fen" > "$work/out.epd" 2> "$work/err.txt"
  ms=$(( ($(date +%s%N) - t0) / 1000000 ))
  solved=$(grep -c ' bm ' "$work/out.epd" || true)
  echo "solve --threads $threads: $ms ms, $solved solved," \
       "$(( solved * 1000 / (ms > 0 ? ms : 1) )) positions a second" \
       "($(wc -l < "$work/err.txt") lines passed with a message;" \
       "load average after: $(cut -d' ' -f1 /proc/loadavg))"
done
