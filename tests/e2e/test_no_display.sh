#!/usr/bin/env bash
# Without any display the game says so on standard output and ends with exit code 1.
source "$(dirname "$0")/lib.sh"
unset DISPLAY WAYLAND_DISPLAY
start_game --new
rc=$(wait_exit 20)
[ "$rc" = "1" ] || fail "exit code $rc without a display, expected 1"
grep -q "no display available" "$WORK/game.log" || fail "no message about the missing display"
echo PASS
