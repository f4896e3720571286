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
  menu=$((HEIGHT - 573))
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
# One million lines of real games: the shared positions file fifty times over.
positions=${KALMERA_POSITIONS:-../shared/bench/positions.txt}
lines="$work/games.fen"
for _ in $(seq 50); do cat "$positions"; done > "$lines"
for verb in "" "--json" "--mirror --turn"; do
  times=()
  for _ in $(seq "$runs"); do
    t0=$(date +%s%N)
    # shellcheck disable=SC2086
    "$build/kalmera-fen" normalize $verb < "$lines" > /dev/null
    times+=($(( ($(date +%s%N) - t0) / 1000000 )))
  done
  echo "kalmera-fen normalize $verb, $(wc -l < "$lines") lines of real games:" \
       "$(printf '%s\n' "${times[@]}" | median) ms"
done
# A puzzle sheet of 1,000 positions.
head -n 1000 "$positions" > "$work/sheet.fen"
times=()
for _ in $(seq "$runs"); do
  t0=$(date +%s%N)
  "$build/kalmera-fen" sheet --pdf "$work/sheet.pdf" < "$work/sheet.fen" 2>/dev/null
  times+=($(( ($(date +%s%N) - t0) / 1000000 )))
done
echo "kalmera-fen sheet, 1000 positions (167 pages): $(printf '%s\n' "${times[@]}" | median) ms"

# --- the benchmarks: medians of repetitions --------------------------------
for bench in fen_bench render_bench export_bench recognize_bench; do
  [ -x "$build/bench/$bench" ] || continue
  "$build/bench/$bench" --benchmark_repetitions="$runs" --benchmark_report_aggregates_only=true \
    --benchmark_min_time=0.3 2>/dev/null | awk '/_median/ {print $1, $2, $3}'
done
