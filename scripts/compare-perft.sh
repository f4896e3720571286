#!/usr/bin/env bash
# Perft speed against the peer, in one run: the counts of bench/perft_bench.cpp
# (the start position to depth 6, Kiwipete to depth 5, the Chess960 setup 960
# to depth 6) by our move generator, then the same counts by chessops
# (bench/peers/perft.mjs, counting the last ply from the move lists as ours
# does); prints both counts, the nodes a second of each and the ratio. Needs a
# build with Google Benchmark and scripts/install-peers.sh.
#   scripts/compare-perft.sh [BUILD_FOLDER]
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
bench=$build/bench/perft_bench
[ -x "$bench" ] || { echo "compare-perft: build perft_bench first (in $build)"; exit 1; }
[ -f bench/peers/node_modules/chessops/package.json ] ||
  { echo "compare-perft: chessops is not installed (scripts/install-peers.sh)"; exit 1; }
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs);" \
     "node $(node --version), chessops $(node -p "require('./bench/peers/node_modules/chessops/package.json').version")"

# Ours: each benchmark's name, nodes a second and label ("DEPTH FEN"), one a line.
"$bench" --benchmark_format=json 2>/dev/null |
  node -e 'const r = JSON.parse(require("fs").readFileSync(0, "utf8"));
           for (const b of r.benchmarks) console.log([b.name, Math.round(b.nodes), b.label].join("\t"))' |
while IFS=$'\t' read -r name ours label; do
  depth=${label%% *} fen=${label#* }
  leaves=$(echo "$fen" | "$build/kalmera-fen" perft "$depth")
  IFS=$'\t' read -r counted seconds theirs < <(echo "$fen" | node bench/peers/perft.mjs "$depth" --time)
  same=$([ "$leaves" == "$counted" ] && echo "the same count" || echo "COUNTS DIFFER: ours $leaves")
  awk -v n="$name" -v d="$depth" -v c="$counted" -v o="$ours" -v t="$theirs" -v s="$same" -v sec="$seconds" 'BEGIN {
    printf "%s (depth %d, %d leaves, chessops %s s, %s): ours %.1f M nodes/s, chessops %.2f M nodes/s: %.1f times as fast\n",
           n, d, c, sec, s, o / 1e6, t / 1e6, o / t }'
done
