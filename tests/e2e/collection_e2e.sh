#!/usr/bin/env bash
# A collection in the real editor, in a real X server: opened from the command
# line and from the menu, stepped through, a square and a title edited, an
# entry moved and one removed, a step undone, saved, and the file compared with
# what it must hold; then killed after an edit and started again: the recovery
# copy is offered and brings the edit back. Exit 77 where no X server starts.
#   tests/e2e/collection_e2e.sh PROGRAM PNG_FOLDER
set -u
program=${1:?path to kalmera}
pngs=${2:?the PNG folder beside it}
verbose=1
. "$(dirname "$0")/../support/checks.sh"

for tool in Xvfb xdotool xclip; do
  command -v $tool >/dev/null || { echo "SKIPPED: $tool is not installed"; exit 77; }
done
make_work_folder
. "$(dirname "$0")/../../scripts/xvfb.sh"
start_xvfb 121 129 || { echo "SKIPPED: no X server could be started"; exit 77; }
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
# The recovery copy goes to the cache folder: this test's own.
export XDG_CACHE_HOME="$work/cache"

app="$work/app"
mkdir -p "$app"
cp "$program" "$app/kalmera"
cp -r "$pngs" "$app/PNG"
. "$(dirname "$0")/editor.sh"

a='4k3/8/8/8/8/8/8/4K2R w K -'
b='8/8/8/8/8/8/k7/K7 b - - 0 1'
c='rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1'
d='6rk/5Npp/8/8/8/8/8/K7 b - -'
file="$work/week.epd"
printf '%s id "A";\n%s\n%s\n%s id "D"; c1 "Mate";\n' "$a" "$b" "$c" "$d" > "$file"

# Where the list's rows are: the panel beside the 596 pixels of the client.
row() {  # row index -> the screen point of its middle
  echo $((X + 596 + 4 + 60)) $((Y + menu + 7 + 2 + $1 * 62 + 31))
}
click_row() { read -r rx ry < <(row "$1"); xdotool mousemove "$rx" "$ry" click 1; sleep 0.3; }
title() { xdotool getwindowname "$win"; }

editor_args=("$file")
start
check "opened from the command line: the first entry on the board" "$a 0 1" "$(copyfen)"
check "the title bar names the file" "week.epd - Kalmera FEN-Editor und Positions-Generator" "$(title)"
key ctrl+Next
check "Ctrl+Page Down steps to the second entry" "$b" "$(copyfen)"
click 3 0 7                # a right click on a1 takes the white king
check "a square edited in the second entry" "8/8/8/8/8/8/k7/8 w - - 0 1" "$(copyfen)"
check "the title bar shows the unsaved change" "week.epd* - Kalmera FEN-Editor und Positions-Generator" "$(title)"
click_row 0
check "a click in the list steps to the first entry" "$a 0 1" "$(copyfen)"
key Tab                    # from the list to the title field
xdotool key --clearmodifiers ctrl+a; xdotool type --delay 20 "Renamed"; key Return
# The last entry dragged to the top.
read -r fx fy < <(row 3); read -r tx ty < <(row 0)
xdotool mousemove "$fx" "$fy" mousedown 1; sleep 0.2
for step in 1 2 3 4 5 6; do xdotool mousemove "$fx" $((fy - (fy - ty + 25) * step / 6)); sleep 0.1; done
xdotool mouseup 1; sleep 0.5
check "the dragged entry is the first one now" "$d 0 1" "$(copyfen)"
click_row 3                # the standard position, now fourth
key Delete
check "Delete removes the entry: the one above is current" "8/8/8/8/8/8/k7/8 w - - 0 1" "$(copyfen)"
key ctrl+z
check "Ctrl+Z brings the removed entry back" "$c" "$(copyfen)"
key ctrl+s
check "the saved file holds the moved, edited, renamed entries" \
  "$(printf '%s id "D"; c1 "Mate";\n%s id "Renamed";\n%s\n%s\n' "$d" "$a" "8/8/8/8/8/8/k7/8 w - - 0 1" "$c")" \
  "$(cat "$file")"
check "saved: the title bar without the star" "week.epd - Kalmera FEN-Editor und Positions-Generator" "$(title)"
quit

# Opened with File -> Open collection ... (Ctrl+O), the file typed into the dialog.
editor_args=()
start
key ctrl+o; sleep 1
dialog=$(xdotool search --onlyvisible --pid $apid 2>/dev/null | grep -v "^$win$" | head -n 1)
if [ -n "$dialog" ]; then
  xdotool windowfocus --sync "$dialog" 2>/dev/null
  xdotool type --delay 10 "$file"; key Return; sleep 0.8
fi
refocus
check "opened from the menu: its first entry" "$d 0 1" "$(copyfen)"

# Killed after an edit: the next start offers the recovery copy.
key ctrl+Next
click 3 7 7                # a right click on h1 takes the rook of the "Renamed" entry
edited=$(copyfen)
check "an edit before the kill" "4k3/8/8/8/8/8/8/4K3 w - - 0 1" "$edited"
sleep 4                    # the copy is written a few seconds after the change
kill -9 $apid; wait $apid 2>/dev/null; apid=""
check "a recovery copy was left behind" "yes" \
  "$([ -f "$XDG_CACHE_HOME/kalmera/collection-recovery.epd" ] && echo yes || echo no)"
"$app/kalmera" >/dev/null 2>&1 & apid=$!
box=""
for _ in $(seq 50); do
  for w in $(xdotool search --onlyvisible --pid $apid 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    [ "$WIDTH" -lt 596 ] && box=$w
  done
  [ -n "$box" ] && break
  sleep 0.2
done
check "the next start asks about the unsaved changes" "yes" "$([ -n "$box" ] && echo yes || echo no)"
if [ -n "$box" ]; then
  xdotool windowfocus --sync "$box" 2>/dev/null; key Return; sleep 0.5
fi
win=$(xdotool search --onlyvisible --pid $apid 2>/dev/null | head -n 1)
refocus
eval "$(xdotool getwindowgeometry --shell "$win")"
menu=$((HEIGHT - 573)); board_x=$((X + 7 + 7)); board_y=$((Y + menu + 7 + 14))
check "restored: the edited position" "$edited" "$(copyfen)"
check "restored: still unsaved" "week.epd* - Kalmera FEN-Editor und Positions-Generator" "$(title)"
kill $apid; wait $apid 2>/dev/null; apid=""

# The list and the engine's line for a screen reader, over the real
# accessibility bus (Debian's stockfish as the engine).
if ! command -v dbus-run-session >/dev/null || [ ! -x /usr/libexec/at-spi-bus-launcher ] ||
   ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
  echo "SKIPPED the AT-SPI checks: dbus-run-session, at-spi2-core or python3-pyatspi is missing"
elif ! command -v stockfish >/dev/null && [ ! -x /usr/games/stockfish ]; then
  echo "SKIPPED the engine checks: stockfish is not installed"
else
  rm -f "$XDG_CACHE_HOME/kalmera/collection-recovery.epd"
  printf '%s id "Back rank"; dm 1;\n%s\n' '6k1/5ppp/8/8/8/8/5PPP/R5K1 w - -' "$c" > "$work/legal.epd"
  printf '%s id "Check";\n' '4k3/8/8/8/8/8/8/4R1K1 w - -' > "$work/illegal.epd"
  for mode in legal illegal; do
    atspi=$(timeout 120 dbus-run-session -- bash -c '
      /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 & launcher=$!
      sleep 1
      QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$1" "$4" >/dev/null 2>&1 & editor=$!
      win=$(timeout 20 xdotool search --sync --onlyvisible --pid $editor 2>/dev/null | head -n 1)
      sleep 1
      xdotool windowfocus --sync "$win" 2>/dev/null
      /usr/bin/python3 "$2" $editor "$3"; code=$?
      kill $editor $launcher 2>/dev/null
      exit $code' atspi "$app/kalmera" "$(dirname "$0")/atspi_workspace.py" "$mode" \
      "$work/$mode.epd" 2>/dev/null)
    printf '%s\n' "$atspi" | sed 's/^/  /'
    check "the AT-SPI checks ($mode)" "0 failed" \
      "$(printf '%s\n' "$atspi" | tail -n 1 | grep -o '[0-9]* failed')"
  done
fi

finish
