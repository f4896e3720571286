#!/usr/bin/env bash
# Batch speed against the peer: one million FEN lines (the positions file
# fifty times over) normalised by kalmera-fen and by a chessops script doing
# the same (bench/peers/normalize.mjs), alternately, three rounds; prints each
# time, the median of each and the ratio. Needs a build and scripts/install-peers.sh.
#   scripts/compare-peers.sh [POSITIONS_FILE] [ROUNDS]
set -eu
cd "$(dirname "$0")/.."
positions=${1:-../shared/bench/positions.txt}
rounds=${2:-3}
tool=build/kalmera-fen
[ -x "$tool" ] || { echo "compare-peers: build first (scripts/build.sh)"; exit 1; }
[ -f bench/peers/node_modules/chessops/package.json ] ||
  { echo "compare-peers: chessops is not installed (scripts/install-peers.sh)"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for _ in $(seq 50); do cat "$positions"; done > "$work/lines.txt"
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs);" \
     "$(wc -l < "$work/lines.txt") lines, $(($(stat -c %s "$work/lines.txt") / 1000000)) MB;" \
     "node $(node --version), chessops $(node -p "require('./bench/peers/node_modules/chessops/package.json').version")"

seconds() {  # command... < input; prints the wall time in seconds
  local t0 t1
  t0=$(date +%s%N)
  "$@" < "$work/lines.txt" > /dev/null
  t1=$(date +%s%N)
  awk -v ns=$((t1 - t0)) 'BEGIN { printf "%.3f", ns / 1e9 }'
}
median() { tr ' ' '\n' | sed '/^$/d' | sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }

for args in "" "--json" "--mirror --turn"; do
  ours="" peer=""
  for round in $(seq "$rounds"); do
    # shellcheck disable=SC2086
    o=$(seconds "$tool" normalize $args)
    p=$(seconds node bench/peers/normalize.mjs)
    echo "round $round: kalmera-fen normalize $args ${o} s, chessops ${p} s"
    ours="$ours $o" peer="$peer $p"
  done
  o=$(echo $ours | median) p=$(echo $peer | median)
  awk -v o="$o" -v p="$p" -v a="${args:-(plain)}" \
    'BEGIN { printf "median: kalmera-fen %s %.3f s, chessops %.3f s: %.1f times as fast\n", a, o, p, p / o }'
done
