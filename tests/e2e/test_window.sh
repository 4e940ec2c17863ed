#!/usr/bin/env bash
# The window follows the player: resized to 1600 x 900 and to 800 x 600 the map fills it and the
# main tool and the menu stay on screen; F11 switches to full screen at the display's size and
# back; the last window size is written into options.cfg at the end, every other line kept.
source "$(dirname "$0")/lib.sh"
set_option "Resolution horizontal" 1024
set_option "Resolution vertical" 768
grep -v -a 'Resolution' "$WORK/cfg/options.cfg" | grep -a -v -x -E '1024|768' >"$WORK/others.before"
rm -f "$WORK/cfg/gadgets.cfg"
start_xvfb 1920x1080
start_game --new
win=$(wait_window)
wait_ready
xdotool windowmove "$win" 0 0
screenshot "$win" "$ARTIFACTS/window_start.png"

is_size() { [ "$(window_size "$win")" = "$1" ]; }

# A screen's four corner regions hold map (not the black of an empty back buffer), and the menu
# handle and the main tool's bars (light panels) are somewhere in their screen halves. Says what
# is missing in $missing.
lit() { awk -v b="$(brightness "$1" "$2")" 'BEGIN { exit !(b > 8) }'; }
screen_complete() {
  local shot=$1 w=$2 h=$3 corner lower upper
  missing="$shot is $(identify -format '%wx%h' "$shot"), not ${w}x${h}"
  [ "$(identify -format '%wx%h' "$shot")" = "${w}x${h}" ] || return 1
  for corner in "60x40+0+$((h - 40))" "60x40+$((w - 60))+$((h - 40))" "60x40+$((w - 60))+20" "60x40+$((w / 2))+$((h / 2))"; do
    missing="$shot: no map at $corner"
    lit "$shot" "$corner" || return 1
  done
  # The main tool's white bars lie in the lower half, the menu's round buttons in the upper left.
  lower=$(white_share "$shot" "${w}x$((h / 2))+0+$((h / 2))")
  upper=$(white_share "$shot" "$((w / 2))x$((h / 2))+0+0")
  missing="$shot: panels missing (white in the lower half $lower%, upper left $upper%)"
  awk -v l="$lower" -v u="$upper" 'BEGIN { exit !(l > 0.3 && u > 0.05) }'
}
# Waits until the game has drawn the window at its new size W x H ($2, $3) completely, in two
# pictures in a row: what X kept of the last frame at the old size lasts only until the next one.
check_screen() {
  _drawn() { screenshot "$win" "$1" && screen_complete "$@"; }
  eventually 15 twice _drawn "$@" || fail "$missing"
}

for size in 1600x900 800x600; do
  w=${size%x*} h=${size#*x}
  xdotool windowsize "$win" "$w" "$h"
  eventually 10 is_size "$size" || fail "the window did not take $size"
  check_screen "$ARTIFACTS/window_$size.png" "$w" "$h"
done

# F11: full screen at the display's 1920 x 1080, F11 again: the window as it was.
xdotool key --window "$win" F11
eventually 10 is_size 1920x1080 || fail "F11 did not go to full screen ($(window_size "$win"))"
check_screen "$ARTIFACTS/window_fullscreen.png" 1920 1080
xdotool key --window "$win" F11
eventually 10 is_size 800x600 || fail "F11 did not come back to the window ($(window_size "$win"))"
check_screen "$ARTIFACTS/window_back.png" 800 600

quit_with_escape "$win"
tr -d '\r' <"$WORK/cfg/options.cfg" | grep -a -A1 -x -- '- Resolution horizontal' | tail -n 1 | grep -q -x 800 ||
  fail "options.cfg does not hold the new width: $(grep -a -A1 'Resolution horizontal' "$WORK/cfg/options.cfg")"
tr -d '\r' <"$WORK/cfg/options.cfg" | grep -a -A1 -x -- '- Resolution vertical' | tail -n 1 | grep -q -x 600 ||
  fail "options.cfg does not hold the new height"
grep -v -a 'Resolution' "$WORK/cfg/options.cfg" | grep -a -v -x -E '800|600' | diff "$WORK/others.before" - >&2 ||
  fail "other lines of options.cfg changed"
echo PASS
