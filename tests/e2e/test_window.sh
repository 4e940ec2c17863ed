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
start_game
win=$(wait_window)
wait_ready
xdotool windowmove "$win" 0 0
screenshot "$win" "$ARTIFACTS/window_start.png"

is_size() { [ "$(window_size "$win")" = "$1" ]; }

# A screen's four corner regions hold map (not the black of an empty back buffer), and the menu
# handle and the main tool's bars (light panels) are somewhere in their screen halves.
lit() { awk -v b="$(brightness "$1" "$2")" 'BEGIN { exit !(b > 8) }'; }
check_screen() {
  local shot=$1 w=$2 h=$3
  [ "$(identify -format '%wx%h' "$shot")" = "${w}x${h}" ] || fail "$shot is $(identify -format '%wx%h' "$shot"), not ${w}x${h}"
  for corner in "60x40+0+$((h - 40))" "60x40+$((w - 60))+$((h - 40))" "60x40+$((w - 60))+20" "60x40+$((w / 2))+$((h / 2))"; do
    lit "$shot" "$corner" || fail "$shot: no map at $corner"
  done
  # The main tool's white bars lie in the lower half, the menu's round buttons in the upper left.
  local lower upper
  lower=$(white_share "$shot" "${w}x$((h / 2))+0+$((h / 2))")
  upper=$(white_share "$shot" "$((w / 2))x$((h / 2))+0+0")
  awk -v l="$lower" -v u="$upper" 'BEGIN { exit !(l > 0.3 && u > 0.05) }' ||
    fail "$shot: panels missing (white in the lower half $lower%, upper left $upper%)"
}

for size in 1600x900 800x600; do
  w=${size%x*} h=${size#*x}
  xdotool windowsize "$win" "$w" "$h"
  eventually 10 is_size "$size" || fail "the window did not take $size"
  sleep 1.5
  screenshot "$win" "$ARTIFACTS/window_$size.png"
  check_screen "$ARTIFACTS/window_$size.png" "$w" "$h"
done

# F11: full screen at the display's 1920 x 1080, F11 again: the window as it was.
xdotool key --window "$win" F11
eventually 10 is_size 1920x1080 || fail "F11 did not go to full screen ($(window_size "$win"))"
sleep 1.5
screenshot "$win" "$ARTIFACTS/window_fullscreen.png"
check_screen "$ARTIFACTS/window_fullscreen.png" 1920 1080
xdotool key --window "$win" F11
eventually 10 is_size 800x600 || fail "F11 did not come back to the window ($(window_size "$win"))"
sleep 1

quit_with_escape "$win"
tr -d '\r' <"$WORK/cfg/options.cfg" | grep -a -A1 -x -- '- Resolution horizontal' | tail -n 1 | grep -q -x 800 ||
  fail "options.cfg does not hold the new width: $(grep -a -A1 'Resolution horizontal' "$WORK/cfg/options.cfg")"
tr -d '\r' <"$WORK/cfg/options.cfg" | grep -a -A1 -x -- '- Resolution vertical' | tail -n 1 | grep -q -x 600 ||
  fail "options.cfg does not hold the new height"
grep -v -a 'Resolution' "$WORK/cfg/options.cfg" | grep -a -v -x -E '800|600' | diff "$WORK/others.before" - >&2 ||
  fail "other lines of options.cfg changed"
echo PASS
