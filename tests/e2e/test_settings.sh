#!/usr/bin/env bash
# The settings panel: Optionen → Einstellungen opens it in the middle of the screen; the next
# window size resizes the window at once and is written into options.cfg, every other line kept;
# leaving keeps it, and the next start opens the window at that size.
source "$(dirname "$0")/lib.sh"
set_option "Resolution horizontal" 1024
set_option "Resolution vertical" 768
cp "$WORK/cfg/options.cfg" "$WORK/options.before"
rm -f "$WORK/cfg/gadgets.cfg"
start_xvfb 1920x1080
start_game --new
win=$(wait_window)
wait_ready

is_size() { [ "$(window_size "$win")" = "$1" ]; }
option() { tr -d '\r' <"$WORK/cfg/options.cfg" | grep -a -A1 -x -- "- $1" | tail -n 1; }
# The file with the window size's values blanked, to compare every other line.
others() { awk '/^- Resolution (horizontal|vertical)/ { print; getline; print "-"; next } { print }' "$1"; }

rest
screenshot "$win" "$WORK/closed.png"
menu_choose 154 268 3
# At 1024 x 768 the panel's move button lies at 402, 142; below it a row every 44 pixels, the
# first the window size, with its next-value button at x 670.
wait_shown 10 "$WORK/closed.png" 268x352+402+230 "$ARTIFACTS/settings_open.png" ||
  fail "Einstellungen did not open the settings panel (see settings_open.png)"
click 670 186
eventually 10 is_size 1280x720 || fail "the window did not take 1280 x 720 ($(window_size "$win"))"
[ "$(option 'Resolution horizontal')x$(option 'Resolution vertical')" = 1280x720 ] ||
  fail "options.cfg holds $(option 'Resolution horizontal') x $(option 'Resolution vertical')"
rest
screenshot "$win" "$ARTIFACTS/settings_1280x720.png"
quit_with_escape "$win"

[ "$(option 'Resolution horizontal')x$(option 'Resolution vertical')" = 1280x720 ] ||
  fail "leaving wrote $(option 'Resolution horizontal') x $(option 'Resolution vertical') over the chosen size"
diff <(others "$WORK/options.before") <(others "$WORK/cfg/options.cfg") >&2 ||
  fail "options.cfg changed beyond the window size"

start_game --new
win=$(wait_window)
wait_ready
is_size 1280x720 || fail "the next start opened $(window_size "$win"), not 1280 x 720"
quit_with_escape "$win"
echo PASS
