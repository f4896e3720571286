# Sourced by the scripts that need a private X server.
#   start_xvfb FIRST LAST  -- starts Xvfb on the first free display in FIRST..LAST,
#   exports DISPLAY and sets xpid; returns 1 when none could be started.
start_xvfb() {
  xpid=""
  local n
  for n in $(seq "$1" "$2"); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
    # -noreset: an X server resets when its last client leaves, and a program
    # started again at once (after a kill) could not connect while it does.
    Xvfb :$n -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 & xpid=$!
    export DISPLAY=:$n
    for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
    xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
    kill $xpid 2>/dev/null
    xpid=""
  done
  return 1
}
