#!/usr/bin/env bash
# Real X input reaches the game's input snapshot: the pointer follows the mouse, a held button
# is a touch point with a light under it, and a key press (Escape) ends the game.
source "$(dirname "$0")/lib.sh"
start_xvfb
start_game
win=$(wait_window)
wait_ready
# The map lies behind the pointer, so the pointer is found by its white arrow (tip at the mouse):
# where the mouse went the arrow appears, where it left the arrow is gone.
xdotool mousemove --window "$win" 100 100
sleep 0.3
screenshot_median "$win" "$ARTIFACTS/input_before.png"
xdotool mousemove --window "$win" 500 300
sleep 0.5
screenshot_median "$win" "$ARTIFACTS/input_moved.png"
entered_before=$(white_share "$ARTIFACTS/input_before.png" 16x20+500+300)
entered_after=$(white_share "$ARTIFACTS/input_moved.png" 16x20+500+300)
left_before=$(white_share "$ARTIFACTS/input_before.png" 16x20+100+100)
left_after=$(white_share "$ARTIFACTS/input_moved.png" 16x20+100+100)
awk -v eb="$entered_before" -v ea="$entered_after" -v lb="$left_before" -v la="$left_after" \
  'BEGIN { exit !(ea > eb + 5 && lb > la + 5) }' ||
  fail "pointer did not follow the mouse (white where it went $entered_before -> $entered_after, where it left $left_before -> $left_after)"

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
