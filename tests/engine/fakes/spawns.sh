#!/bin/sh
# A hanging engine that has started a process of its own (its pid goes to
# $FAKE_ENGINE_CHILD): ending the engine must end that one too.
sleep 600 &
echo $! > "${FAKE_ENGINE_CHILD:?}"
exec "$(dirname "$0")/hangs.sh"
