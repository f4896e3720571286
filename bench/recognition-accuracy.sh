#!/usr/bin/env bash
# How well the recogniser reads diagrams of designs it never learnt from:
# pictures drawn by make_samples from the fonts and colours held out of the
# training (Symbola's chess symbols, TeX Live's Alpha diagram font, blue to
# violet boards), saved as PNG or JPEG, read by kalmera-fen recognize.
# Prints the share of squares and of whole boards read right, by design.
#   bench/recognition-accuracy.sh [BOARDS]   (default 600)
set -eu
cd "$(dirname "$0")/.."
boards=${1:-600}
cmake --build build --target make_samples kalmera-fen >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
positions=tests/peers/game-positions.txt
[ -f ../shared/bench/positions.txt ] && positions=../shared/bench/positions.txt
build/make_samples --boards "$boards" --seed 99 --set held-out --positions "$positions" \
  --pictures "$work" 2>/dev/null
while read -r file placement design; do
  answer=$(build/kalmera-fen recognize "$work/$file" 2>/dev/null | cut -d' ' -f1 || true)
  printf '%s %s %s\n' "$design" "$placement" "${answer:-none}"
done < "$work/truth.txt" | python3 -c '
import sys
from collections import defaultdict
def squares(placement):
    out = []
    for c in placement:
        if c == "/": continue
        out += ["."] * int(c) if c.isdigit() else [c]
    return out
stats = defaultdict(lambda: [0, 0, 0, 0])  # squares right, squares, boards right, boards
for line in sys.stdin:
    design, want, got = line.split()
    w = squares(want)
    g = squares(got) if got != "none" else ["?"] * 64
    for s in (stats[design], stats["all"]):
        s[0] += sum(a == b for a, b in zip(w, g)); s[1] += 64
        s[2] += w == g; s[3] += 1
for design in sorted(stats, key=lambda d: d == "all"):
    r, n, br, bn = stats[design]
    print(f"{design:8} {bn:4} boards: {100 * r / n:6.2f} % of the squares, {100 * br / bn:6.2f} % of the boards")
'
