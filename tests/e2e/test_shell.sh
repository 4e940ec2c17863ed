#!/usr/bin/env bash
# The shell with default settings: a 640 x 480 window with the game's title, the loading
# screen and the presentation loop with the version line; Escape ends it with exit code 0.
source "$(dirname "$0")/lib.sh"
start_xvfb
start_game
win=$(wait_window)
[ "$(window_size "$win")" = "640x480" ] || fail "window is $(window_size "$win"), not 640x480"

# The fade-in from black takes a second.
sleep 2.5
screenshot "$win" "$ARTIFACTS/shell.png"
[ "$(identify -format '%wx%h' "$ARTIFACTS/shell.png")" = "640x480" ] || fail "screenshot has the wrong size"
# The version and FPS line is white text in the top left corner on black.
line=$(brightness "$ARTIFACTS/shell.png" 260x14+0+0)
rest=$(brightness "$ARTIFACTS/shell.png" 640x400+0+60)
awk -v l="$line" -v r="$rest" 'BEGIN { exit !(l > 5 && l > r + 3) }' || fail "no version line (top left $line, rest $rest)"

# The pointer follows the mouse: the region under it brightens.
xdotool mousemove --window "$win" 320 240
sleep 0.5
screenshot "$win" "$ARTIFACTS/shell_pointer.png"
pointer=$(brightness "$ARTIFACTS/shell_pointer.png" 24x24+308+228)
awk -v p="$pointer" 'BEGIN { exit !(p > 2) }' || fail "no pointer drawn at the mouse (brightness $pointer)"

quit_with_escape "$win"
echo "PASS (screenshot: $ARTIFACTS/shell.png)"
