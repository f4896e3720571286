#!/bin/sh
# Dies at its first search, as dies.sh does; every later start of it (the
# mark is kept in $FAKE_ENGINE_STATE) is the well-behaved engine.
mark=${FAKE_ENGINE_STATE:?}/died-once
if [ -e "$mark" ]; then exec "$(dirname "$0")/good.sh"; fi
: > "$mark"
exec "$(dirname "$0")/dies.sh"
