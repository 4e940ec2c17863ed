#!/usr/bin/env bash
# Real X input reaches the game's input snapshot: the pointer follows the mouse, a held button
# is a touch point with a light under it, and a key press (Escape) ends the game.
source "$(dirname "$0")/lib.sh"
start_xvfb
start_game
win=$(wait_window)
sleep 2
xdotool mousemove --window "$win" 100 100
sleep 0.3
xdotool mousemove --window "$win" 500 300
sleep 0.5
screenshot "$win" "$ARTIFACTS/input_moved.png"
old=$(brightness "$ARTIFACTS/input_moved.png" 30x30+85+85)
new=$(brightness "$ARTIFACTS/input_moved.png" 24x24+488+288)
awk -v o="$old" -v n="$new" 'BEGIN { exit !(n > 2 && o < 0.5) }' || fail "pointer did not follow the mouse (old $old, new $new)"

# Without a button the light is absent; with the left button held a soft light surrounds the pointer.
ring_before=$(brightness "$ARTIFACTS/input_moved.png" 16x16+474+292)
xdotool mousedown --window "$win" 1
sleep 0.5
screenshot "$win" "$ARTIFACTS/input_finger_light.png"
xdotool mouseup --window "$win" 1
ring=$(brightness "$ARTIFACTS/input_finger_light.png" 16x16+474+292)
awk -v b="$ring_before" -v r="$ring" 'BEGIN { exit !(r > b + 10) }' || fail "no finger light under a held button ($ring_before -> $ring)"

quit_with_escape "$win"
echo PASS
