# Sourced by the end-to-end tests: the editor in $app started and driven as a
# person drives it (xdotool for keys and mouse, xclip for the clipboard).
# Expects $app (the program's folder), $work and a running X server.
editor_args=()

start() {  # [user] -- starts the editor (with the arguments in $editor_args), waits for its
           # window, gives it the focus
  if [ -n "${1:-}" ]; then
    setpriv --reuid="$1" --regid="$1" --clear-groups "$app/kalmera" ${editor_args[@]+"${editor_args[@]}"} >/dev/null 2>&1 &
  else "$app/kalmera" ${editor_args[@]+"${editor_args[@]}"} >/dev/null 2>&1 & fi
  apid=$!
  win=$(timeout 20 xdotool search --sync --onlyvisible --pid $apid 2>/dev/null | head -n 1)
  [ -n "$win" ] || { echo "FAIL the window did not appear"; exit 1; }
  sleep 0.5
  xdotool windowfocus --sync "$win" 2>/dev/null
  eval "$(xdotool getwindowgeometry --shell "$win")"
  menu=$((HEIGHT - 573))  # the menu bar above the 596 x 573 client area
  board_x=$((X + 7 + 7)); board_y=$((Y + menu + 7 + 14))
}
key() { xdotool key --clearmodifiers "$@"; sleep 0.3; }
# There is no window manager: after a dialog the focus is handed back by hand.
refocus() { xdotool windowfocus --sync "$win" 2>/dev/null; sleep 0.2; }
clip() { timeout 5 xclip -o -selection clipboard 2>/dev/null; }
# xclip stays behind to serve the text; it must not hold the caller's output open.
setclip() { printf '%s' "$1" | xclip -i -selection clipboard >/dev/null 2>&1; sleep 0.2; }
copyfen() { setclip "-"; key ctrl+c; clip; }
square() {  # the screen point of a square's centre: file 0..7, row 0 (rank 8) ..7
  echo $((board_x + 32 + $1 * 34 + 17)) $((board_y + 32 + $2 * 34 + 17))
}
click() {  # button file row [modifier]
  read -r sx sy < <(square "$2" "$3")
  xdotool mousemove "$sx" "$sy"
  if [ -n "${4:-}" ]; then xdotool keydown "$4" click "$1" keyup "$4"; else xdotool click "$1"; fi
  sleep 0.3
}
pixel() {  # x y of the board picture on the bitmap clipboard (asked again when it is late)
  local attempt value
  for attempt in 1 2 3; do
    key ctrl+b
    timeout 5 xclip -o -selection clipboard -t image/png > "$work/board.png" 2>/dev/null
    value=$(convert "$work/board.png" -format "%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]" \
      -crop "1x1+$1+$2" info: 2>/dev/null)
    [ -n "$value" ] && break
    sleep 0.3
  done
  echo "$value"
}
quit() {
  key ctrl+q
  for _ in $(seq 50); do kill -0 $apid 2>/dev/null || break; sleep 0.1; done
  kill -0 $apid 2>/dev/null && { echo "FAIL the editor did not end"; kill $apid; }
  apid=""
}

