#!/usr/bin/env bash
# How well the recogniser reads diagrams of designs it never learnt from,
# and whether its doubt means something: pictures drawn by make_samples from
# the four families held out of the training in every form (our artwork
# hand-inked with unsteady outlines, Symbola's chess symbols, training
# designs on blue to violet boards, and boards in pages of the CSS-scaled
# page style rendered by Debian's Chromium), saved as PNG or JPEG, read by
# kalmera-fen recognize --json. Prints, by family and in all:
# the share of squares and of whole boards read right; of the wrongly read
# squares the share marked doubtful, of the rightly read ones the share
# marked; and the boards with a wrong square left unmarked (silent errors).
#   bench/recognition-accuracy.sh [BOARDS] [BUILD]   (default 600, build)
# With --calibrate first: pictures of the training families only (with a
# seed no net learnt from), never the held-out ones, and for each threshold
# of confidence the share of wrong and of right squares it would mark; the
# program's threshold (kDoubtfulBelow) is chosen from that table.
set -eu
cd "$(dirname "$0")/.."
calibrate=""
[ "${1:-}" = "--calibrate" ] && calibrate=yes && shift
boards=${1:-600}
build=${2:-build}
set=held-out seed=99
[ -n "$calibrate" ] && set=train seed=31337
cmake --build "$build" --target make_samples kalmera-fen >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
positions=tests/peers/game-positions.txt
[ -f ../shared/bench/positions.txt ] && positions=../shared/bench/positions.txt
mkdir -p "$work/web"
"$build"/make_samples --boards "$boards" --seed "$seed" --set "$set" --positions "$positions" \
  --pictures "$work" --web "$work/web" 2>/dev/null
while read -r file placement orientation design; do
  answer=$("$build"/kalmera-fen recognize --json "$work/$file" 2>/dev/null || true)
  printf '%s %s %s %s\n' "$design" "$orientation" "$placement" "${answer:-none}"
done < "$work/truth.txt" | CALIBRATE="$calibrate" python3 -c '
import json, os, sys
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
# boards turned (Black at the bottom), of them read so; upright ones, of them read turned
turned = [0, 0, 0, 0]
read = []  # each board read: (wrong, confidence, marked) by square
oriented = [0, 0, 0, 0]  # squares right, squares, boards right, boards: of those oriented right
for line in sys.stdin:
    design, orientation, want, answer = line.rstrip("\n").split(" ", 3)
    w = squares(want)
    if answer == "none":
        got, marked = ["?"] * 64, [True] * 64
    else:
        j = json.loads(answer)
        got = [s["piece"] or "." for s in j["squares"]]
        marked = [s.get("doubtful", False) for s in j["squares"]]
        if orientation == "flipped": turned[0] += 1; turned[1] += j["flipped"]
        else: turned[2] += 1; turned[3] += j["flipped"]
        if j["flipped"] == (orientation == "flipped"):
            oriented[0] += sum(a == b for a, b in zip(w, got)); oriented[1] += 64
            oriented[2] += w == got; oriented[3] += 1
    wrong = [a != b for a, b in zip(w, got)]
    if answer != "none":
        read.append([(x, s["confidence"], m) for x, s, m in zip(wrong, j["squares"], marked)])
    for s in (stats[design], stats["all"]):
        s[0] += wrong.count(False); s[1] += 64
        s[2] += not any(wrong); s[3] += 1
        s[4] += sum(x and m for x, m in zip(wrong, marked)); s[5] += sum(wrong)
        s[6] += sum((not x) and m for x, m in zip(wrong, marked))
        s[7] += any(x and not m for x, m in zip(wrong, marked))
pct = lambda a, b: 100.0 * a / b if b else 0.0
if os.environ["CALIBRATE"]:
    right = sum(1 for b in read for x, _, _ in b if not x)
    wrong = sum(1 for b in read for x, _, _ in b if x)
    print(f"{len(read)} boards of the training families, {wrong} wrong squares of {right + wrong}")
    for t in (0.5, 0.7, 0.8, 0.9, 0.95, 0.97, 0.98, 0.99, 0.995, 0.998, 0.999):
        wm = sum(1 for b in read for x, c, m in b if x and c < t)
        rm = sum(1 for b in read for x, c, m in b if not x and c < t)
        silent = sum(1 for b in read if any(x and c >= t for x, c, m in b))
        print(f"confidence below {t:5.3f}: wrong squares marked {pct(wm, wrong):5.1f} %, right ones marked"
              f" {pct(rm, right):5.2f} %, silent errors {pct(silent, len(read)):5.2f} % of the boards")
    sys.exit(0)
for design in sorted(stats, key=lambda d: d == "all"):
    r, n, br, bn, wm, wn, rm, silent = stats[design]
    print(f"{design:8} {bn:4} boards: {pct(r, n):6.2f} % of the squares, {pct(br, bn):6.2f} % of the boards;"
          f" wrong squares marked {pct(wm, wn):5.1f} % ({wm} of {wn}), right ones marked {pct(rm, r):4.2f} %,"
          f" silent errors {pct(silent, bn):5.2f} % of the boards ({silent})")
print(f"orientation: {turned[1]} of {turned[0]} turned boards (Black at the bottom) read so; {turned[3]} of {turned[2]} upright ones read as turned")
print(f"boards read the right way round: {pct(oriented[0], oriented[1]):6.2f} % of the squares, {pct(oriented[2], oriented[3]):6.2f} % of the boards ({oriented[3]} boards)")
'
