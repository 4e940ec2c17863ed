#!/usr/bin/env bash
# Closing the window ends the game like Escape does.
source "$(dirname "$0")/lib.sh"
start_xvfb
start_game --new
win=$(wait_window)
wait_ready
[ -n "$CLOSE_WINDOW" ] || fail "no close_window tool given"
"$CLOSE_WINDOW" "$win"
rc=$(wait_exit 10)
[ "$rc" = "0" ] || fail "exit code $rc after closing the window"
echo PASS
