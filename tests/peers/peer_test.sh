#!/usr/bin/env bash
# Against a real peer, the chessops library (installed by
# scripts/install-peers.sh): the castling notations on all 960 Chess960 starts,
# each once more with a rook missing and one moved, and once with rooks farther
# out than the castling rooks, and on 2,000 positions of random standard and
# Chess960 games (game-positions.txt); then the legality rules.
# Exit 77 (skipped) when Node.js or chessops is missing.
#   tests/peers/peer_test.sh KALMERA_FEN
set -u
tool=${1:?path to kalmera-fen}
peers="$(dirname "$0")/../../bench/peers"
command -v node >/dev/null || { echo "SKIPPED: Node.js is not installed"; exit 77; }
[ -f "$peers/node_modules/chessops/package.json" ] ||
  { echo "SKIPPED: chessops is not installed (scripts/install-peers.sh)"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for n in $(seq 960); do "$tool" frc "$n"; done > "$work/starts.txt"
# White's h-side rook taken off, Black's a-side rook moved from its rank to a6.
awk '{ split($1, r, "/"); w = r[8]; i = match(w, /R[^R]*$/); w = substr(w, 1, i - 1) "1" substr(w, i + 1);
         b = r[1]; j = index(b, "r"); b = substr(b, 1, j - 1) "1" substr(b, j + 1);
         print b "/" r[2] "/" r[3] "/" r[4] "/" r[5] "/r7/" r[7] "/" w " " $2 " " $3 " " $4 " " $5 " " $6 }' \
  "$work/starts.txt" > "$work/moved.txt"
# Rooks farther out than the castling rooks: a corner piece becomes a rook,
# and the castling rooks are named by their files (Shredder-FEN).
"$tool" --dialect shredder < "$work/starts.txt" |
  awk '{ split($1, r, "/"); w = r[8]; b = r[1];
         if (substr(w, 1, 1) !~ /[RK]/) w = "R" substr(w, 2);
         if (substr(w, 8, 1) !~ /[RK]/) w = substr(w, 1, 7) "R";
         if (substr(b, 1, 1) !~ /[rk]/) b = "r" substr(b, 2);
         print b "/" r[2] "/" r[3] "/" r[4] "/" r[5] "/" r[6] "/" r[7] "/" w " " $2 " " $3 " " $4 " " $5 " " $6 }' \
  > "$work/inner.txt"
cat "$work/starts.txt" "$work/moved.txt" "$work/inner.txt" "$(dirname "$0")/game-positions.txt" \
  > "$work/all.txt"
node "$peers/crosscheck.mjs" "$tool" "$work/all.txt" || failed=1

# The legality rules against chessops' own: on the positions of real games
# (ours, and the shared positions file where it is there) and on random
# edits of them, at least 50,000 positions.
games=("$(dirname "$0")/game-positions.txt")
shared=${KALMERA_POSITIONS:-$(dirname "$0")/../../../shared/bench/positions.txt}
if [ -f "$shared" ]; then games+=("$shared"); else echo "the shared positions file is not here: legality on our own games only"; fi
node "$peers/legality.mjs" "$tool" "${games[@]}" || failed=1
exit ${failed:-0}
