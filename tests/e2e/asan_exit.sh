#!/usr/bin/env bash
# Runs the game built with AddressSanitizer under Xvfb, ends it with Escape and checks that
# it exits with code 0 and that LeakSanitizer finds no leak allocated by the game's own code.
# (Leaks inside the system's GL and D-Bus libraries, which are unloaded before the report,
# are theirs and not counted.)  Usage: asan_exit.sh <asan-built vallmora>
source "$(dirname "$0")/lib.sh"
export ASAN_OPTIONS=detect_leaks=1:exitcode=23
start_xvfb
start_game
win=$(wait_window)
wait_ready
xdotool key --window "$win" Escape
rc=$(wait_exit 60)
if grep -q "ERROR: AddressSanitizer" "$WORK/game.log"; then
  fail "AddressSanitizer found an error"
fi
own=$(awk '/^(Direct|Indirect) leak/ {stack=""} /^    #/ {stack=stack $0 "\n"} /^$/ {if (stack ~ /\/(app|platform|framework|world|plugins|persistence|gui)\/[A-Za-z]+\.(cpp|h)/) print stack; stack=""}' "$WORK/game.log")
[ -z "$own" ] || fail "leaks in the game's own code:
$own"
[ "$rc" = "0" ] || [ "$rc" = "23" ] || fail "exit code $rc"
echo "PASS (exit code $rc; leaks outside the game's code: $(grep -c '^Direct leak' "$WORK/game.log" || true))"
