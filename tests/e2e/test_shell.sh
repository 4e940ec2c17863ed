#!/usr/bin/env bash
# The shell with default settings: a 640 x 480 window with the game's title, the loading
# screen and then the game with the version line and the pointer; Escape ends it with exit code 0.
source "$(dirname "$0")/lib.sh"
start_xvfb
start_game --new
win=$(wait_window)
[ "$(window_size "$win")" = "640x480" ] || fail "window is $(window_size "$win"), not 640x480"

# Ready once the fade-in from black is over.
wait_ready
# The version and FPS line is white text in the top left corner, over whatever lies behind it:
# its band holds clearly more white than the band below it.
version_line() {
  screenshot "$win" "$ARTIFACTS/shell.png"
  [ "$(identify -format '%wx%h' "$ARTIFACTS/shell.png")" = "640x480" ] || fail "screenshot has the wrong size"
  line=$(white_share "$ARTIFACTS/shell.png" 260x14+0+0)
  below=$(white_share "$ARTIFACTS/shell.png" 260x14+0+30)
  awk -v l="$line" -v b="$below" 'BEGIN { exit !(l > b + 3) }'
}
eventually 5 version_line || fail "no version line (white $line% against $below% below)"

# The pointer follows the mouse: its white arrow (tip at the mouse) leaves one place for another.
# The picture without it at the window's centre is taken once the game draws it at the first
# place, wherever it was before.
first=$(white_share "$ARTIFACTS/shell.png" 16x20+100+100)
xdotool mousemove --window "$win" 100 100
pointer_away() {
  screenshot "$win" "$ARTIFACTS/shell_pointer_away.png"
  _above "$(white_share "$ARTIFACTS/shell_pointer_away.png" 16x20+100+100)" "$(awk -v w="$first" 'BEGIN { print w + 5 }')"
}
eventually 5 pointer_away || fail "no pointer drawn where the mouse went first (100,100)"
xdotool mousemove --window "$win" 320 240
away=$(white_share "$ARTIFACTS/shell_pointer_away.png" 16x20+320+240)
pointer_drawn() {
  screenshot "$win" "$ARTIFACTS/shell_pointer.png"
  here=$(white_share "$ARTIFACTS/shell_pointer.png" 16x20+320+240)
  awk -v h="$here" -v a="$away" 'BEGIN { exit !(h > a + 5) }'
}
eventually 5 pointer_drawn || fail "no pointer drawn at the mouse (white $here% against $away% without it)"

quit_with_escape "$win"

# The time demo: a new city drawn 40 frames as fast as the machine can, one line of figures, and
# the game ends by itself.
start_game --new --frames 40
[ "$(wait_exit 120)" = 0 ] || fail "the time demo did not end with exit code 0"
report='^Time demo: 40 frames at 640 x 480, median [0-9.]+ ms \([0-9.]+ fps\), 95th percentile [0-9.]+ ms, [0-9]+ device calls per frame$'
grep -a -E -q "$report" "$WORK/game.log" || fail "no time demo figures: $(grep -a 'Time demo' "$WORK/game.log")"
echo "PASS (screenshot: $ARTIFACTS/shell.png)"
