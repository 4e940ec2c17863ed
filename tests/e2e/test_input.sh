#!/usr/bin/env bash
# Real X input reaches the game's input snapshot: the pointer follows the mouse, a held button
# is a touch point with a light under it, and a key press (Escape) ends the game.
source "$(dirname "$0")/lib.sh"
start_xvfb
start_game
win=$(wait_window)
sleep 2
# The map lies behind the pointer, so the pointer is found by what changes when it moves:
# the regions it left and entered change much more than one it never touched.
xdotool mousemove --window "$win" 100 100
sleep 0.3
screenshot_median "$win" "$ARTIFACTS/input_before.png"
xdotool mousemove --window "$win" 500 300
sleep 0.5
screenshot_median "$win" "$ARTIFACTS/input_moved.png"
old=$(region_diff "$ARTIFACTS/input_before.png" "$ARTIFACTS/input_moved.png" 24x24+100+100)
new=$(region_diff "$ARTIFACTS/input_before.png" "$ARTIFACTS/input_moved.png" 24x24+500+300)
ctrl=$(region_diff "$ARTIFACTS/input_before.png" "$ARTIFACTS/input_moved.png" 24x24+300+200)
awk -v o="$old" -v n="$new" -v c="$ctrl" 'BEGIN { exit !(n > c + 3 && o > c + 3) }' ||
  fail "pointer did not follow the mouse (left $old, entered $new, untouched $ctrl)"

# Without a button the light is absent; with the left button held a soft light surrounds the pointer.
ring_before=$(brightness "$ARTIFACTS/input_moved.png" 16x16+474+292)
xdotool mousedown --window "$win" 1
sleep 0.5
screenshot_median "$win" "$ARTIFACTS/input_finger_light.png"
xdotool mouseup --window "$win" 1
ring=$(brightness "$ARTIFACTS/input_finger_light.png" 16x16+474+292)
awk -v b="$ring_before" -v r="$ring" 'BEGIN { exit !(r > b + 10) }' || fail "no finger light under a held button ($ring_before -> $ring)"

quit_with_escape "$win"
echo PASS
