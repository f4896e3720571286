#!/usr/bin/env bash
# The README's figures, measured the same way each time: each figure is the
# median of several runs. Needs a build (scripts/build.sh) and Xvfb, xdotool
# and ImageMagick for the editor's figures.
#   scripts/measure.sh [RUNS]   (default 7)
set -eu
cd "$(dirname "$0")/.."
runs=${1:-7}
build=build
median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)," \
     "$(free -g | awk '/Mem:/ {print $2}') GiB, $(. /etc/os-release; echo "$PRETTY_NAME")"

# --- the editor: start to first painted window, peak memory -----------------
work=$(mktemp -d)
trap 'kill ${xpid:-} 2>/dev/null; rm -rf "$work"' EXIT
cp "$build/kalmera" "$work/"
. scripts/xvfb.sh
start_xvfb 130 150 || { echo "no X server could be started"; exit 1; }
export QT_QPA_PLATFORM=xcb
starts=() rss=()
for _ in $(seq "$runs"); do
  t0=$(date +%s%N)
  "$work/kalmera" >/dev/null 2>&1 & pid=$!
  # xdotool's own --sync retries only every half second: poll finer.
  win=""
  while [ -z "$win" ]; do
    win=$(xdotool search --onlyvisible --pid $pid 2>/dev/null | head -n 1 || true)
    [ -z "$win" ] && sleep 0.01
    [ $(( $(date +%s%N) - t0 )) -gt 20000000000 ] && break
  done
  eval "$(xdotool getwindowgeometry --shell "$win")"
  menu=$((HEIGHT - 513))
  # Painted: the a8 square's free column shows the bright square colour.
  while :; do
    px=$(import -window "$win" -crop "1x1+$((14 + 32))+$((menu + 21 + 32 + 17))" \
           -format '%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]' info: 2>/dev/null || true)
    [ "$px" = "255,239,206" ] && break
    [ $(( $(date +%s%N) - t0 )) -gt 20000000000 ] && break
  done
  starts+=($(( ($(date +%s%N) - t0) / 1000000 )))
  # Some use: paste a position, set and take pieces, then read the peak.
  xdotool windowfocus --sync "$win" 2>/dev/null || true
  for sq in 0 1 2 3; do
    xdotool mousemove $((X + 14 + 32 + sq * 34 + 17)) $((Y + menu + 21 + 32 + 4 * 34 + 17)) click 1 click 3
  done
  sleep 0.3
  rss+=($(awk '/VmHWM/ {print $2}' /proc/$pid/status))
  kill $pid; wait $pid 2>/dev/null || true
done
echo "editor start to first painted window: $(printf '%s\n' "${starts[@]}" | median) ms" \
     "(runs: ${starts[*]})"
echo "editor peak memory (VmHWM): $(( $(printf '%s\n' "${rss[@]}" | median) / 1024 )) MiB"

# --- the tool: batch throughput --------------------------------------------
lines="$work/mixed.fen"
for f in "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1" \
         "r3k2r/pp1n1ppp/2p1pn2/q2p4/1bPP4/2N1PN2/PPQ2PPP/R3KB1R w KQkq d6 0 9" \
         "4k3/8/8/3Pp3/8/8/8/4K3 w - e6 0 1" "6k1/8/8/8/8/8/8/RR4K1 w Qb - 0 1" \
         "bbqnnrkr/pppppppp/8/8/8/8/PPPPPPPP/BBQNNRKR w KQkq - 0 1" "  x?/\\//9 HAha zz 99999 -3" ""; do
  echo "$f"
done > "$work/seed.fen"
for _ in $(seq 142858); do cat "$work/seed.fen"; done | head -n 1000000 > "$lines"
for verb in "" "--json"; do
  times=()
  for _ in $(seq "$runs"); do
    t0=$(date +%s%N)
    "$build/kalmera-fen" $verb < "$lines" > /dev/null
    times+=($(( ($(date +%s%N) - t0) / 1000000 )))
  done
  echo "kalmera-fen $verb 1,000,000 lines: $(printf '%s\n' "${times[@]}" | median) ms"
done

# --- the benchmarks: medians of repetitions --------------------------------
for bench in fen_bench render_bench export_bench; do
  [ -x "$build/bench/$bench" ] || continue
  "$build/bench/$bench" --benchmark_repetitions="$runs" --benchmark_report_aggregates_only=true \
    --benchmark_min_time=0.3 2>/dev/null | awk '/_median/ {print $1, $2, $3}'
done
