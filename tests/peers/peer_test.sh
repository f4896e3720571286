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

# Move lists against chessops, move by move, on 10,000 positions: the games'
# positions as they are, mirrored, turned and both, and 2,000 legal positions
# made from them by random edits; then on positions of random Chess960 games
# from the 960 starts (the games' positions are all of standard chess).
# chessops reads Shredder-FEN castling.
games_file="$(dirname "$0")/game-positions.txt"
for transform in "" "--mirror" "--turn" "--mirror --turn"; do
  # shellcheck disable=SC2086
  "$tool" --dialect shredder $transform < "$games_file"
done > "$work/moves-real.txt"
node "$peers/edit-positions.mjs" 8000 < "$work/moves-real.txt" | "$tool" check --dialect shredder |
  awk -F '\t' '$2 == "legal" { print $1 }' | head -n 2000 > "$work/moves-edited.txt"
node "$peers/random-games.mjs" 40 8 < "$work/starts.txt" | "$tool" --dialect shredder > "$work/moves-960.txt"
cat "$work/moves-real.txt" "$work/moves-edited.txt" "$work/moves-960.txt" > "$work/moves.txt"
"$tool" perft 1 --divide < "$work/moves.txt" |
  awk '/:/ { m = m (m == "" ? "" : " ") substr($1, 1, length($1) - 1); next } { print m; m = "" }' \
  > "$work/moves-ours.txt"
node "$peers/movelist.mjs" < "$work/moves.txt" > "$work/moves-chessops.txt"
paste -d '\n' "$work/moves.txt" "$work/moves-ours.txt" "$work/moves-chessops.txt" |
  awk -v games="$(cat "$work/moves-real.txt" "$work/moves-edited.txt" | wc -l)" '
  NR % 3 == 1 { fen = $0; next }
  NR % 3 == 2 { ours = $0; next }
  { ++n
    if (ours == $0) { ++same; next }
    if (++shown > 10) next
    split(ours, o, " "); split($0, t, " "); delete in_o; delete in_t; a = ""; b = ""
    for (i in o) in_o[o[i]] = 1
    for (i in t) { in_t[t[i]] = 1; if (!(t[i] in in_o)) b = b " " t[i] }
    for (i in o) if (!(o[i] in in_t)) a = a " " o[i]
    printf "DIFF moves: %s\n  only ours:%s\n  only chessops:%s\n", fen, a, b }
  END { printf "move lists: %d positions (%d from the games, %d of Chess960 games), %d agree " \
               "with chessops move by move\n", n, games, n - games, same
        exit !(games == 10000 && same == n) }' || failed=1

# Perft against chessops on Chess960 positions where castling leaves the king
# or the rook on its square (or swaps them), and on Chess960 starts.
printf '%s\n' '1r4kr/pppppppp/8/8/8/8/PPPPPPPP/1R4KR w HBhb - 0 1' \
  '1k3r2/pppppppp/8/8/8/8/PPPPPPPP/1K3R2 w Ff - 0 1' '3rk3/pppppppp/8/8/8/8/PPPPPPPP/3RK3 w Dd - 0 1' \
  '1rk5/pppppppp/8/8/8/8/PPPPPPPP/1RK5 w Bb - 0 1' '5kr1/pppppppp/8/8/8/8/PPPPPPPP/5KR1 w Gg - 0 1' \
  'rkr5/pppppppp/8/8/8/8/PPPPPPPP/RKR5 w CAca - 0 1' '1r4kr/8/8/8/8/8/8/1R4KR w HBhb - 0 1' \
  'r1k1r3/8/8/8/8/8/8/R1K1R3 b EAea - 0 1' | "$tool" --dialect shredder > "$work/castling960.txt"
for n in 1 2 227 518 959 960; do "$tool" frc "$n"; done | "$tool" --dialect shredder >> "$work/castling960.txt"
ours=$("$tool" perft 4 < "$work/castling960.txt" | tr '\n' ' ')
theirs=$(node "$peers/perft.mjs" 4 < "$work/castling960.txt" | tr '\n' ' ')
if [ "$ours" == "$theirs" ]; then
  echo "Chess960 perft 4: $(wc -l < "$work/castling960.txt") positions agree with chessops"
else
  printf 'DIFF Chess960 perft 4\n  ours:     %s\n  chessops: %s\n' "$ours" "$theirs"
  failed=1
fi
exit ${failed:-0}
