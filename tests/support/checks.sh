# Sourced by the shell tests: named checks that count, and a work folder
# that goes away (with the program and X server started in it) at the end.
passed=0 failed=0

check() {  # name expected actual
  if [ "$2" == "$3" ]; then passed=$((passed + 1)); [ -n "${verbose:-}" ] && echo "ok   $1"; else
    failed=$((failed + 1)); printf 'FAIL %s\n  expected: %q\n  actual:   %q\n' "$1" "$2" "$3"; fi
  return 0
}

# The summary line and the exit code of the whole test.
finish() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}

# Makes $work (readable by everyone, for tests that drop to nobody); at the
# end the program $apid and the X server $xpid are stopped and $work removed.
make_work_folder() {
  work=$(mktemp -d)
  chmod 755 "$work"
  xpid=""
  apid=""
  trap 'cleanup_work_folder' EXIT
}

cleanup_work_folder() {
  [ -n "${apid:-}" ] && kill "$apid" 2>/dev/null
  [ -n "${xpid:-}" ] && kill "$xpid" 2>/dev/null
  chmod -R u+w "$work" 2>/dev/null
  rm -rf "$work"
}
