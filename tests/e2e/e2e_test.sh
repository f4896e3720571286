#!/usr/bin/env bash
# The real editor in a real X server, used as a person uses it: keys and mouse
# through xdotool, the X clipboard through xclip, the settings file between
# runs. Exit 77 (skipped) when no X server can be started here.
#   tests/e2e/e2e_test.sh PROGRAM PNG_FOLDER
set -u
program=${1:?path to kalmera}
pngs=${2:?the PNG folder beside it}
verbose=1
. "$(dirname "$0")/../support/checks.sh"

for tool in Xvfb xdotool xclip convert; do
  command -v $tool >/dev/null || { echo "SKIPPED: $tool is not installed"; exit 77; }
done

make_work_folder

. "$(dirname "$0")/../../scripts/xvfb.sh"
start_xvfb 90 120 || { echo "SKIPPED: no X server could be started"; exit 77; }
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb

# A copy of the program folder, named as users name folders: the program, its
# PNG folder, and later its settings.
app="$work/Übung #1"
mkdir -p "$app"
cp "$program" "$app/kalmera"
cp -r "$pngs" "$app/PNG"
chmod -R a+rX "$app"
ini="$app/kalmera.ini"

. "$(dirname "$0")/editor.sh"

standard='rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1'
frc100='qbbnrnkr/pppppppp/8/8/8/8/PPPPPPPP/QBBNRNKR w KQkq - 0 1'

# First start without a settings file.
start
check "first start: Ctrl+C gives the standard position" "$standard" "$(copyfen)"

# The web preview lands in the program's folder and finds the images beside it.
key ctrl+w
sleep 0.5
check "the preview is written into the program's folder" "yes" \
  "$([ -f "$app/~Kalmera.html" ] && echo yes || echo no)"
check "the preview addresses the images percent-encoded" 1 \
  "$(grep -c "src=\"file://$work/%C3%9Cbung%20%231/PNG/wK.png\"" "$app/~Kalmera.html")"

# The move number as typed: "007" waits while it is typed and ends as 7;
# Ctrl+Z in the field is the window's undo.
key alt+m; key ctrl+a
xdotool type --delay 80 "007"; sleep 0.3
check "a counter waits while leading zeros are typed" "$standard" "$(copyfen)"
key alt+m; key ctrl+a; xdotool type --delay 80 "007"; key Return
check "Return ends the edit: 007 is 7" "${standard% 1} 7" "$(copyfen)"
key alt+m; key ctrl+z
check "Ctrl+Z in the field takes the number back" "$standard" "$(copyfen)"

# Paste with a leading blank and a trailing line break.
setclip $' 4k3/8/8/3Pp3/8/8/8/4K3 w - e6 0 1\n'
key ctrl+v
check "Ctrl+V reads the pasted text, Ctrl+C gives it normalised" \
  "4k3/8/8/3Pp3/8/8/8/4K3 w - e6 0 1" "$(copyfen)"

# The mouse on the board.
setclip "$standard"; key ctrl+v
click 3 7 0               # right click h8 takes the black rook: Black to move
click 1 4 4               # left click e4 sets it
check "right click takes, left click sets" \
  "rnbqkbn1/pppppppp/8/8/4r3/8/PPPPPPPP/RNBQKBNR b KQq - 0 1" "$(copyfen)"
key ctrl+z                # Undo edit: the rook leaves e4 again
check "Ctrl+Z takes the last edit back" \
  "rnbqkbn1/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQq - 0 1" "$(copyfen)"
key ctrl+shift+z          # and Redo edit sets it again
click 1 4 4 ctrl          # Ctrl + left click marks: the FEN stays
check "Ctrl + left click marks without changing the FEN" \
  "rnbqkbn1/pppppppp/8/8/4r3/8/PPPPPPPP/RNBQKBNR b KQq - 0 1" "$(copyfen)"
check "the mark shows on e4" "0,255,0" "$(pixel $((32 + 4 * 34 + 16)) $((32 + 4 * 34 + 1)))"

# A Chess960 setup through the menu and the position-number dialog.
key alt+d; key a; key z
sleep 0.5
key ctrl+a; xdotool type --delay 80 "100"; sleep 0.3; key Return
refocus
check "Chess960 number typed into the dialog" "$frc100" "$(copyfen)"

setclip "-"; key ctrl+h
html=$(clip)
check "HTML clipboard gives the fragment" \
  '<font size="+2"><strong>FRC Startposition</strong></font><br><font size="+1"><strong>Position Nr . 100</strong>' \
  "${html:0:111}"
check "the fragment ends with the FEN" "$frc100</font>" "${html: -$((${#frc100} + 7))}"
key ctrl+b
timeout 5 xclip -o -selection clipboard -t image/png > "$work/board.png" 2>/dev/null
check "bitmap clipboard gives the 337 x 337 picture" "337x337" \
  "$(identify -format '%wx%h' "$work/board.png" 2>/dev/null)"

click 1 3 3 ctrl          # mark d5
key alt+o; key e          # Optionen -> Englisch
check "the language switched to English" "Kalmera FEN-Editor and Position Generator" \
  "$(xdotool getwindowname "$win")"
quit
check "the settings file holds every key in order" \
  "Color Board Bright Dark Path BMP HTML Web Position Head1 Head2 FEN Mode Hints Language Positions Marked" \
  "$(LC_ALL=C sed -E 's/^\[(.*)\]\r?$/\1/; s/=.*//' "$ini" | tr '\n' ' ' | sed 's/ $//')"
check "settings: language" "Language=1" "$(grep '^Language=' "$ini")"
check "settings: position" "FEN=$frc100" "$(grep '^FEN=' "$ini")"
check "settings: marks" "Marked=---------------------------*------------------------------------" \
  "$(grep '^Marked=' "$ini")"
check "settings: headline" "Head2=Position Nr . 100" "$(grep '^Head2=' "$ini")"
check "settings: the folder as ISO 8859-1 bytes" "HTML=$work/$(printf '\xdc')bung #1/" \
  "$(grep -a '^HTML=' "$ini")"
check "the preview is gone at the end" "no" "$([ -e "$app/~Kalmera.html" ] && echo yes || echo no)"

# The second start comes back with it all.
start
check "second start: position" "$frc100" "$(copyfen)"
check "second start: language" "Kalmera FEN-Editor and Position Generator" \
  "$(xdotool getwindowname "$win")"
d5="$((32 + 3 * 34 + 16)) $((32 + 3 * 34 + 1))"
check "second start: the mark on d5" "0,255,0" "$(pixel $d5)"
setclip "8/8/8/8/8/8/8/8 w - - 0 1"; key ctrl+v
check "a later change" "8/8/8/8/8/8/8/8 w - - 0 1" "$(copyfen)"
# In English Alt+O belongs to a label ("N&o. of reversible half moves"): the
# Options menu is opened with the mouse, German chosen with its accelerator.
xdotool mousemove $((X + 100)) $((Y + menu / 2)) click 1; sleep 0.4; key g
check "and German again" "Kalmera FEN-Editor und Positions-Generator" "$(xdotool getwindowname "$win")"
key alt+u                 # Undo: the state at the start of the run
check "Undo brings back the position" "$frc100" "$(copyfen)"
check "Undo brings back the language" "Kalmera FEN-Editor and Position Generator" \
  "$(xdotool getwindowname "$win")"
check "Undo brings back the mark" "0,255,0" "$(pixel $d5)"
quit

# A settings file in a read-only folder: the editor starts and ends, shows the
# failure, and the old file stays as it was.
cp "$ini" "$work/old.ini"
chmod 555 "$app"
user=""
[ "$(id -u)" -eq 0 ] && user=65534  # root writes anywhere: run as nobody
start $user
check "read-only folder: the editor starts with the stored position" "$frc100" "$(copyfen)"
key ctrl+q
box=""
for _ in $(seq 30); do
  box=$(xdotool search --onlyvisible --pid $apid 2>/dev/null | grep -vx "$win" | head -n 1)
  [ -n "$box" ] && break; sleep 0.1
done
check "read-only folder: the write failure is shown" "yes" "$([ -n "$box" ] && echo yes || echo no)"
[ -n "$box" ] && { xdotool windowfocus --sync "$box" 2>/dev/null; key Return; }
for _ in $(seq 50); do kill -0 $apid 2>/dev/null || break; sleep 0.1; done
check "read-only folder: the editor ended" "ended" "$(kill -0 $apid 2>/dev/null && echo running || echo ended)"
apid=""
check "read-only folder: the old file is unchanged" "same" \
  "$(cmp -s "$ini" "$work/old.ini" && echo same || echo changed)"
chmod 755 "$app"

# Drag and drop, the keyboard, and the board seen from Black's side.
drag() {  # from-file from-row to-x to-y [ctrl]: press, move in steps, release
  read -r fx fy < <(square "$1" "$2")
  xdotool mousemove "$fx" "$fy" mousedown 1; sleep 0.2
  for i in 1 2 3 4 5; do
    xdotool mousemove $((fx + ($3 - fx) * i / 5)) $((fy + ($4 - fy) * i / 5)); sleep 0.05
  done
  [ -n "${5:-}" ] && xdotool keydown ctrl
  xdotool mouseup 1; sleep 0.3
  [ -n "${5:-}" ] && xdotool keyup ctrl
  sleep 0.2
}
rm -f "$ini"               # German and the standard position
start
read -r e4x e4y < <(square 4 4)
drag 4 6 "$e4x" "$e4y"
check "drag: e2 to e4" "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 1" "$(copyfen)"
read -r c5x c5y < <(square 2 3)
drag 6 0 "$c5x" "$c5y" ctrl
check "drag with Ctrl: the g8 knight copied to c5" \
  "rnbqkbnr/pppppppp/8/2n5/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 1" "$(copyfen)"
drag 0 7 $((X + 700)) $((Y + 200))  # the a1 rook out of the window
check "drag out of the window removes the piece" \
  "rnbqkbnr/pppppppp/8/2n5/4P3/8/PPPP1PPP/1NBQKBNR w Kkq - 0 1" "$(copyfen)"
drag 7 0 $((X + 371 + 14 + 22)) $((Y + menu + 7 + 18 + 11))  # the h8 rook onto the button "Normal"
check "drag onto a button removes the piece, the button is not pressed" \
  "rnbqkbn1/pppppppp/8/2n5/4P3/8/PPPP1PPP/1NBQKBNR w Kq - 0 1" "$(copyfen)"
key ctrl+z
check "a drag is one undo step" "rnbqkbnr/pppppppp/8/2n5/4P3/8/PPPP1PPP/1NBQKBNR w Kkq - 0 1" "$(copyfen)"
click 3 3 4                # a right click on the empty d4: nothing to take, but the focus
key Up; key Up; key shift+q
check "the keyboard: a queen typed two squares up, on d6" \
  "rnbqkbnr/pppppppp/3Q4/2n5/4P3/8/PPPP1PPP/1NBQKBNR w Kkq - 0 1" "$(copyfen)"
key Delete
check "Delete empties the cursor square" \
  "rnbqkbnr/pppppppp/8/2n5/4P3/8/PPPP1PPP/1NBQKBNR w Kkq - 0 1" "$(copyfen)"
key ctrl+f
key ctrl+b
timeout 5 xclip -o -selection clipboard -t image/png > "$work/flipped.png" 2>/dev/null
key ctrl+f; key ctrl+b
timeout 5 xclip -o -selection clipboard -t image/png > "$work/normal.png" 2>/dev/null
check "flipped: the top left square shows h1 as the bottom right one did" \
  "$(convert "$work/normal.png" -crop 34x34+270+270 +repage -format '%#' info: 2>/dev/null)" \
  "$(convert "$work/flipped.png" -crop 34x34+32+32 +repage -format '%#' info: 2>/dev/null)"
key ctrl+f
click 1 0 0                # flipped, the top left square on the screen is h1
check "flipped, a click on the top left square sets h1" \
  "rnbqkbnr/pppppppp/8/2n5/4P3/8/PPPP1PPP/1NBQKBNQ w kq - 0 1" "$(copyfen)"
quit
check "the flip is kept in the settings" "Flipped=1" "$(grep '^Flipped=' "$ini")"
start
key ctrl+f
quit
check "and taken out again" "" "$(grep '^Flipped=' "$ini")"

# Arrows and coloured squares: Shift + drag, Shift + click, the keys; undone,
# kept by a restart, shown in the exported picture.
rm -f "$ini"
start
read -r e2x e2y < <(square 4 6); read -r e4x e4y < <(square 4 4)
xdotool mousemove "$e2x" "$e2y" keydown shift mousedown 1; sleep 0.2
for step in 1 2 3 4; do xdotool mousemove "$e2x" $((e2y - (e2y - e4y) * step / 4)); sleep 0.1; done
xdotool mouseup 1 keyup shift; sleep 0.4
e3="$((32 + 4 * 34 + 17)) $((32 + 5 * 34 + 17))"  # the arrow's shaft crosses e3
shown=$(pixel $e3)
check "Shift + drag draws an arrow: e3 shows another colour than its plain dark one" "yes" \
  "$([ -n "$shown" ] && [ "$shown" != "231,189,165" ] && echo yes || echo no)"
check "the arrow does not change the FEN" "$standard" "$(copyfen)"
click 1 3 3 shift          # Shift + click on d5 colours it
d5free="$((32 + 3 * 34)) $((32 + 3 * 34 + 17))"  # d5's free column
shown=$(pixel $d5free)
check "Shift + click colours d5 (a light square, tinted green)" "yes" \
  "$([ -n "$shown" ] && [ "$shown" != "255,239,206" ] && echo yes || echo no)"
key ctrl+z
check "Ctrl+Z takes the coloured square back" "255,239,206" "$(pixel $d5free)"
click 1 3 3 shift
click 3 7 3                # a right click on the empty h5: the focus, the cursor there
key h                      # "H" colours the cursor square
h5free="$((32 + 7 * 34)) $((32 + 3 * 34 + 17))"
shown=$(pixel $h5free)
check "the key H colours the cursor square (h5, a light one)" "yes" \
  "$([ -n "$shown" ] && [ "$shown" != "255,239,206" ] && echo yes || echo no)"
key a; key Left; key Left; key a  # "A" on h5 begins an arrow, "A" on f5 ends it
quit
check "the annotations are kept in the settings file" \
  "Annotations=[%cal Ge2e4,Gh5f5] [%csl Gd5,Gh5]" "$(grep '^Annotations=' "$ini")"
start
shown=$(pixel $e3)
check "a restart shows the arrow again" "yes" \
  "$([ -n "$shown" ] && [ "$shown" != "231,189,165" ] && echo yes || echo no)"
quit

# A position from a picture: a screenshot of the whole screen, the editor on it,
# pasted back into the editor as a picture.
if ! command -v import >/dev/null; then
  echo "SKIPPED the screenshot paste: import (imagemagick) is missing"
else
  rm -f "$ini"
  start
  shown='r1bqk2r/pp1n1ppp/2p1pn2/3p4/1bPP4/2N1PN2/PPQ2PPP/R3KB1R b KQkq - 2 7'
  setclip "$shown"; key ctrl+v
  import -window root "$work/screen.png" 2>/dev/null
  setclip '8/8/8/8/8/8/8/8 w - - 0 1'; key ctrl+v
  xclip -i -selection clipboard -t image/png "$work/screen.png" >/dev/null 2>&1; sleep 0.3
  key ctrl+v; sleep 0.5
  check "a pasted screenshot sets up the position shown, the side from the editor's disc" \
    "${shown%% *} b - - 0 1" "$(copyfen)"
  key ctrl+z
  check "and it is one undo step" '8/8/8/8/8/8/8/8 w - - 0 1' "$(copyfen)"
  quit
fi

# The board for a screen reader, over the real accessibility bus.
rm -f "$ini"
if ! command -v dbus-run-session >/dev/null || [ ! -x /usr/libexec/at-spi-bus-launcher ] ||
   ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
  echo "SKIPPED the AT-SPI check: dbus-run-session, at-spi2-core or python3-pyatspi is missing"
else
  atspi=$(timeout 120 dbus-run-session -- bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 & launcher=$!
    sleep 1
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$1" >/dev/null 2>&1 & editor=$!
    timeout 20 xdotool search --sync --onlyvisible --pid $editor >/dev/null 2>&1
    sleep 1
    /usr/bin/python3 "$2" $editor; code=$?
    kill $editor $launcher 2>/dev/null
    exit $code' atspi "$app/kalmera" "$(dirname "$0")/atspi_board.py" 2>/dev/null)
  printf '%s\n' "$atspi" | sed 's/^/  /'
  check "the AT-SPI check" "0 failed" "$(printf '%s\n' "$atspi" | tail -n 1 | grep -o '[0-9]* failed')"
  check "the AT-SPI check ran all its steps" "8 passed" "$(printf '%s\n' "$atspi" | tail -n 1 | grep -o '[0-9]* passed')"
fi

finish
