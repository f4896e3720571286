#!/usr/bin/env bash
# The state of the source tree outside the build folders (this one, and the
# build/ and build-*/ folders git ignores): every path git does not call
# clean (changed, new or ignored), each with the hash of its bytes.
# "save" keeps it before the tests run, "compare" fails when the tests left
# the tree otherwise; both skip (77) outside a git checkout.
#   tree_state.sh save|compare SOURCE_DIR BUILD_DIR
set -u
mode=$1 source=$2 build=$3
cd "$source" || exit 1
git rev-parse --is-inside-work-tree >/dev/null 2>&1 || { echo "not a git checkout: skipped"; exit 77; }
state() {
  local exclude=(":!build" ":!build-*")
  case "$build/" in "$source"/*) exclude+=(":!${build#"$source"/}") ;; esac
  git status --porcelain --ignored -uall -z -- . "${exclude[@]}" |
    while IFS= read -r -d '' entry; do
      path=${entry:3}
      if [ -f "$path" ]; then hash=$(git hash-object --no-filters -- "$path"); else hash=-; fi
      printf '%s %s\n' "$hash" "$entry"
    done | LC_ALL=C sort
}
saved=$build/tree-before-tests.txt
case $mode in
  save) state > "$saved" ;;
  compare)
    [ -f "$saved" ] || { echo "no state saved before the tests"; exit 1; }
    if ! diff -u "$saved" <(state) > "$build/tree-after-tests.diff"; then
      echo "the tests left the source tree changed:"
      cat "$build/tree-after-tests.diff"
      exit 1
    fi
    echo "the source tree is as the tests found it" ;;
esac
