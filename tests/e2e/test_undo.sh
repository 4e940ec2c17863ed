#!/usr/bin/env bash
# Nothing lost, every action answered, at 1024 × 768: Escape in the open name field closes only
# the field and the game goes on; a refused road click says why; Ctrl+Z takes back a road and
# gives its money back; Escape on the map leaves and the city is kept in saves/autosave.sav.
source "$(dirname "$0")/lib.sh"

menu_build="154 188"
name_bar="615 569" name_bar_text="160x30+535+554"
field_text="100x20+540+372"  # the start of the text field's line

rm -f "$WORK/cfg/gadgets.cfg"
set_option "Resolution horizontal" 1024
set_option "Resolution vertical" 768
start_xvfb
start_game --new --daily
win=$(wait_window)
wait_ready

said() { grep -q -a "^$1" "$WORK/game.log"; }
money_is() { [ "$(day_money)" = "$1" ]; }
# A day line later than the n-th: the game is running.
days_beyond() { [ "$(day_count)" -gt "$1" ]; }
# The name bar opens the text field; returns once the field is drawn.
open_name_field() {
  rest
  screenshot_median "$win" "$WORK/before_field.png"
  click $name_bar
  rest
  wait_shown 10 "$WORK/before_field.png" "$field_text" "$WORK/field_open.png" ||
    fail "the name bar did not open the text field"
}

# The name field, then Escape: the field closes, the game runs on.
open_name_field
xdotool key --window "$win" Escape
days=$(day_count)
eventually 30 days_beyond "$days" || fail "no new day after Escape in the name field"
[ -s "$WORK/exit_code" ] && fail "Escape in the name field ended the game"
screenshot "$win" "$ARTIFACTS/undo_1_after_escape.png"

# A road by two clicks costs money.
eventually 30 money_is 100000.00 || fail "unexpected start money: $(last_day)"
menu_choose $menu_build 1
click 250 150
click 380 215
road_built() { [ "$(day_money)" != "100000.00" ]; }
eventually 30 road_built || fail "the road cost nothing: $(last_day)"
screenshot "$win" "$ARTIFACTS/undo_2_road.png"

# Two clicks on the same tile: refused, and the reason is said.
click 300 300
click 300 300
eventually 5 said "Eine Straße braucht zwei Felder" || fail "a one-tile road was refused without a reason"

# Ctrl+Z takes the road back and refunds it.
xdotool key --window "$win" ctrl+z
eventually 5 said "Rückgängig: Straße" || fail "Ctrl+Z did not say what it took back"
eventually 30 money_is 100000.00 || fail "the road's money did not come back: $(last_day)"
screenshot "$win" "$ARTIFACTS/undo_3_undone.png"
xdotool key --window "$win" 9

# A new name, then (once the name bar shows it) Escape on the map leaves and keeps the city.
open_name_field
xdotool key --window "$win" $(printf 'BackSpace %.0s' $(seq 1 20))
xdotool key --window "$win" --delay 60 shift+n e u s t a d t Return
rest
wait_changed 10 "$WORK/field_open.png" "$name_bar_text" 3 "$ARTIFACTS/undo_4_renamed.png" ||
  fail "the name bar did not change after renaming"
quit_with_escape "$win"
said "Automatisch gespeichert: saves/autosave.sav" || fail "leaving did not say it saved the city"
grep -q -a "Neustadt" "$WORK/saves/autosave.sav" || fail "saves/autosave.sav does not hold the renamed city"
echo "PASS"
