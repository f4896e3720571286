#!/usr/bin/env bash
# Trains the recogniser's square classifier from scratch and writes its
# weights into data/recognizer.ksq (committed; the tests never train). The
# pictures are our own: drawn by make_samples from our artwork (as the
# editor draws it, and varied), from the chess fonts of Debian's font
# packages and of TeX Live's texlive-games (Elmar Bartel's and Piet
# Tutelaers' Metafont designs drawn by TeX into a sheet of squares first),
# and from HTML pages of our own with our artwork as SVG, rendered by
# Debian's Chromium. The held-out families (bench/recognition-accuracy.sh)
# are never drawn here. Needs python3-torch (Debian's), chromium and the
# fonts; takes about 40 minutes on two cores.
#   scripts/train-recognizer.sh [BOARDS] [BUILD]
#   (default 6000 boards for each net; BUILD: a configured build folder to
#   build make_samples in, else build/ with scripts/build.sh)
set -eu
cd "$(dirname "$0")/.."
boards=${1:-6000}
build=${2:-}
packages=(python3-torch python3-numpy chromium fonts-dejavu-core fonts-dejavu-extra fonts-freefont-ttf
          fonts-noto-core fonts-symbola fonts-unifont fonts-horai-umefont fonts-komatuna
          fonts-seto fonts-wqy-microhei fonts-yozvox-yozfont fonts-konatu fonts-cns11643-kai texlive-games texlive-base poppler-utils)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
if [ -z "$build" ]; then
  scripts/build.sh >/dev/null
  build=build
fi
cmake --build "$build" -j 2 --target make_samples >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
positions=tests/peers/game-positions.txt
[ -f ../shared/bench/positions.txt ] && positions=../shared/bench/positions.txt
(root=$PWD; cd "$work" && pdftex -interaction=batchmode "$root/training/glyph-sheet.tex" >/dev/null &&
  pdftoppm -r 600 -png glyph-sheet.pdf sheet)
# Three nets, of two widths, each from samples of its own (other boards,
# designs and colours) and its own starting point; the program averages what
# they say (one file, one net after the other). Nets that learnt from
# different pictures err less alike than nets that learnt from the same.
# Each net's samples are drawn before it learns, not while the one before
# learns: PyTorch's two threads wait for each other when another program
# takes a core, and an epoch then takes six times as long.
nets=("7 16,32,64,128" "11 12,24,48,96" "13 16,32,64,128")
trained=()
for net in "${nets[@]}"; do
  set -- $net
  seed=$1 widths=$2
  mkdir -p "$work/web-$seed"
  nice -n 10 "$build"/make_samples --out "$work/train-$seed.bin" --boards "$boards" --seed "$((20261209 + seed))" \
    --set train --positions "$positions" --sheets "$work" --web "$work/web-$seed" 2>"$work/draw-$seed.log"
  tail -1 "$work/draw-$seed.log"
  rm -rf "$work/web-$seed"
  nice -n 10 /usr/bin/python3 training/train_recognizer.py "$work/train-$seed.bin" "$work/net-$seed.ksq" \
    --seed "$seed" --widths "$widths" --epochs 12
  rm -f "$work/train-$seed.bin"
  trained+=("$work/net-$seed.ksq")
done
cat "${trained[@]}" > data/recognizer.ksq
ls -l data/recognizer.ksq
