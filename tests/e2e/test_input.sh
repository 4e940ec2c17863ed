#!/usr/bin/env bash
# Real X input reaches the game's input snapshot: the pointer follows the mouse, a held button
# is a touch point with a light under it, and a key press (Escape) ends the game.
source "$(dirname "$0")/lib.sh"
start_xvfb
start_game --new
win=$(wait_window)
wait_ready
# The map lies behind the pointer, so the pointer is found by its white arrow (tip at the mouse):
# where the mouse went the arrow appears, where it left the arrow is gone. The screens are read
# once the game has drawn the pointer at its new place.
screenshot_median "$win" "$WORK/input_start.png"
start_white=$(white_share "$WORK/input_start.png" 16x20+100+100)
xdotool mousemove --window "$win" 100 100
pointer_arrived() {
  screenshot_median "$win" "$ARTIFACTS/input_before.png"
  _above "$(white_share "$ARTIFACTS/input_before.png" 16x20+100+100)" "$(awk -v w="$start_white" 'BEGIN { print w + 5 }')"
}
eventually 5 pointer_arrived || fail "no pointer drawn where the mouse went first (100,100)"
xdotool mousemove --window "$win" 420 150
pointer_followed() {
  screenshot_median "$win" "$ARTIFACTS/input_moved.png"
  entered_before=$(white_share "$ARTIFACTS/input_before.png" 16x20+420+150)
  entered_after=$(white_share "$ARTIFACTS/input_moved.png" 16x20+420+150)
  left_before=$(white_share "$ARTIFACTS/input_before.png" 16x20+100+100)
  left_after=$(white_share "$ARTIFACTS/input_moved.png" 16x20+100+100)
  awk -v eb="$entered_before" -v ea="$entered_after" -v lb="$left_before" -v la="$left_after" \
    'BEGIN { exit !(ea > eb + 5 && lb > la + 5) }'
}
eventually 5 pointer_followed ||
  fail "pointer did not follow the mouse (white where it went $entered_before -> $entered_after, where it left $left_before -> $left_after)"

# Without a button the light is absent; with the left button held a soft light surrounds the pointer.
# The weather may darken or brighten the map meanwhile: the light is what the place beside the
# pointer gained beyond a place of the map out of its reach.
ring_before=$(brightness "$ARTIFACTS/input_moved.png" 16x16+394+142)
far_before=$(brightness "$ARTIFACTS/input_moved.png" 16x16+334+142)
xdotool mousedown --window "$win" 1
finger_light() {
  screenshot_median "$win" "$ARTIFACTS/input_finger_light.png"
  ring=$(brightness "$ARTIFACTS/input_finger_light.png" 16x16+394+142)
  far=$(brightness "$ARTIFACTS/input_finger_light.png" 16x16+334+142)
  awk -v b="$ring_before" -v r="$ring" -v fb="$far_before" -v f="$far" 'BEGIN { exit !(r - b - (f - fb) > 10) }'
}
eventually 5 finger_light ||
  fail "no finger light under a held button ($ring_before -> $ring; out of its reach $far_before -> $far)"
xdotool mouseup --window "$win" 1

quit_with_escape "$win"
echo PASS
