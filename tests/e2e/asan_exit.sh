#!/usr/bin/env bash
# Runs the game built with AddressSanitizer under Xvfb at interface scale 2, resizes its window
# down to 320 × 240, up to 7680 × 4320 and back to 800 × 600 (the screen-sized buffers, the ground
# cache and the interface follow each size), ends it with Escape and checks that it exits with
# code 0 and that LeakSanitizer finds no leak allocated by the game's own code.
# (Leaks inside the system's GL and D-Bus libraries, which are unloaded before the report,
# are theirs and not counted.)  Usage: asan_exit.sh <asan-built vallmora>
source "$(dirname "$0")/lib.sh"
export ASAN_OPTIONS=detect_leaks=1:exitcode=23
set_option "UI scale" 2
set_option "Resolution horizontal" 1280
set_option "Resolution vertical" 720
start_xvfb 7680x4320
start_game --new
win=$(wait_window)
wait_ready
xdotool windowmove "$win" 0 0
is_size() { [ "$(window_size "$win")" = "$1" ]; }
for size in 320x240 7680x4320 800x600; do
  xdotool windowsize "$win" "${size%x*}" "${size#*x}"
  eventually 30 is_size "$size" || fail "the window did not take $size"
  # A few frames at the new size (one at 7680 × 4320 takes a while with the sanitizer).
  sleep $(( ${size%x*} > 2000 ? 12 : 3 ))
done
grep -q "ERROR: AddressSanitizer" "$WORK/game.log" && fail "AddressSanitizer found an error while resizing"
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
