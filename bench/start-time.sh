#!/usr/bin/env bash
# The editor's start, from exec to the first painted window (its a8 square
# showing the bright colour), against a bare Qt window of the same size that
# paints the same colour, alternately on one X server; medians and the ratio.
#   bench/start-time.sh [RUNS] [BUILD]   (default 9, build)
set -eu
cd "$(dirname "$0")/.."
runs=${1:-9}
build=${2:-build}
median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
work=$(mktemp -d)
trap 'kill ${xpid:-} 2>/dev/null; rm -rf "$work"' EXIT
# A copy of its own, so that no settings file of the build folder is read.
cp "$build/kalmera" "$build/bench/bare_window" "$work/"
. scripts/xvfb.sh
start_xvfb 190 199 || { echo "no X server could be started"; exit 1; }
export QT_QPA_PLATFORM=xcb

# Milliseconds from exec to the painted pixel of the program given.
painted_after() {
  local t0 win="" px pid HEIGHT=""
  t0=$(date +%s%N)
  "$1" >"$work/last-run.txt" 2>&1 & pid=$!
  # The window, once it is mapped and has its size.
  while [ -z "$HEIGHT" ]; do
    # Now and then a start cannot connect to Xvfb at once and ends: start again.
    if ! kill -0 $pid 2>/dev/null; then
      t0=$(date +%s%N)
      "$1" >"$work/last-run.txt" 2>&1 & pid=$!
    fi
    win=$(xdotool search --onlyvisible --pid $pid 2>/dev/null | head -n 1 || true)
    [ -n "$win" ] && eval "$(xdotool getwindowgeometry --shell "$win" 2>/dev/null || true)"
    [ -z "$HEIGHT" ] && sleep 0.005
    [ $(( $(date +%s%N) - t0 )) -gt 20000000000 ] && { echo "no window of $1 ($win)" >&2; cat "$work/last-run.txt" >&2; exit 1; }
  done
  local menu=$((HEIGHT - 573))
  while :; do
    px=$(import -window "$win" -crop "1x1+$((14 + 32))+$((menu + 21 + 32 + 17))" \
           -format '%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]' info: 2>/dev/null || true)
    [ "$px" = "255,239,206" ] && break
    [ $(( $(date +%s%N) - t0 )) -gt 20000000000 ] && break
  done
  echo $(( ($(date +%s%N) - t0) / 1000000 ))
  # Xvfb has been seen to die when a client is killed while it still sets up
  # its window (the icon): let it settle first.
  sleep 0.3
  kill $pid; wait $pid 2>/dev/null || true
}

bare=() editor=()
for _ in $(seq "$runs"); do
  bare+=($(painted_after "$work/bare_window"))
  editor+=($(painted_after "$work/kalmera"))
done
b=$(printf '%s\n' "${bare[@]}" | median)
e=$(printf '%s\n' "${editor[@]}" | median)
echo "bare Qt window: $b ms (runs: ${bare[*]})"
echo "editor: $e ms (runs: ${editor[*]})"
awk -v e="$e" -v b="$b" 'BEGIN {printf "editor / bare window: %.2f\n", e / b}'
