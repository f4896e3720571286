#!/usr/bin/env bash
# How well the recogniser reads diagrams of designs it never learnt from,
# and whether its doubt means something: pictures drawn by make_samples from
# the fonts and colours held out of the training (Symbola's chess symbols,
# TeX Live's Alpha diagram font, blue to violet boards), saved as PNG or
# JPEG, read by kalmera-fen recognize --json. Prints, by design and in all:
# the share of squares and of whole boards read right; of the wrongly read
# squares the share marked doubtful, of the rightly read ones the share
# marked; and the boards with a wrong square left unmarked (silent errors).
#   bench/recognition-accuracy.sh [BOARDS] [BUILD]   (default 600, build)
set -eu
cd "$(dirname "$0")/.."
boards=${1:-600}
build=${2:-build}
cmake --build "$build" --target make_samples kalmera-fen >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
positions=tests/peers/game-positions.txt
[ -f ../shared/bench/positions.txt ] && positions=../shared/bench/positions.txt
"$build"/make_samples --boards "$boards" --seed 99 --set held-out --positions "$positions" \
  --pictures "$work" 2>/dev/null
while read -r file placement design; do
  answer=$("$build"/kalmera-fen recognize --json "$work/$file" 2>/dev/null || true)
  printf '%s %s %s\n' "$design" "$placement" "${answer:-none}"
done < "$work/truth.txt" | python3 -c '
import json, sys
from collections import defaultdict
def squares(placement):
    out = []
    for c in placement:
        if c == "/": continue
        out += ["."] * int(c) if c.isdigit() else [c]
    return out
# squares right, squares, boards right, boards, wrong squares marked, wrong
# squares, right squares marked, boards with an unmarked wrong square
stats = defaultdict(lambda: [0] * 8)
for line in sys.stdin:
    design, want, answer = line.rstrip("\n").split(" ", 2)
    w = squares(want)
    if answer == "none":
        got, marked = ["?"] * 64, [True] * 64
    else:
        j = json.loads(answer)
        got = [s["piece"] or "." for s in j["squares"]]
        marked = [s.get("doubtful", False) for s in j["squares"]]
    wrong = [a != b for a, b in zip(w, got)]
    for s in (stats[design], stats["all"]):
        s[0] += wrong.count(False); s[1] += 64
        s[2] += not any(wrong); s[3] += 1
        s[4] += sum(x and m for x, m in zip(wrong, marked)); s[5] += sum(wrong)
        s[6] += sum((not x) and m for x, m in zip(wrong, marked))
        s[7] += any(x and not m for x, m in zip(wrong, marked))
pct = lambda a, b: 100.0 * a / b if b else 0.0
for design in sorted(stats, key=lambda d: d == "all"):
    r, n, br, bn, wm, wn, rm, silent = stats[design]
    print(f"{design:8} {bn:4} boards: {pct(r, n):6.2f} % of the squares, {pct(br, bn):6.2f} % of the boards;"
          f" wrong squares marked {pct(wm, wn):5.1f} % ({wm} of {wn}), right ones marked {pct(rm, r):4.2f} %,"
          f" silent errors {pct(silent, bn):5.2f} % of the boards ({silent})")
'
