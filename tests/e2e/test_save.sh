#!/usr/bin/env bash
# Saving and loading a city at 1024 × 768: build a road, a house and a water tower as a player
# does, wait until the house is inhabited, pause, save through "Speichern" (the text field offers the city's name,
# Return takes it), load it again through "Laden" while the game runs, then start the game anew
# with --load. Each time the map around the road and the house must look as it did when saved,
# and day, money and buildings of the --daily line must be the same. A file that cannot be
# loaded leaves the start map and says why.
source "$(dirname "$0")/lib.sh"

# Places at 1024 × 768 with the default gadgets.cfg (see test_play.sh): the menu's rows are 40
# pixels apart, the options row is the third; the list of saves opens in the middle.
menu_options="154 268"
very_fast="716 745" pause="556 745"
first_save="536 208" first_save_text="120x30+410+194"
field_text="100x20+540+372"    # the start of the text field's line
city_region="240x150+220+100"  # the road, the house and the tower
save_name="Vallmora_City"

rm -f "$WORK/cfg/gadgets.cfg"
set_option "Resolution horizontal" 1024
set_option "Resolution vertical" 768
# One house beside a road and no jobs: it fills under the rule set "Klassisch" only.
set_option "Rule set" classic
start_xvfb
start_game --new --daily
win=$(wait_window)
wait_ready

shot() { rest; screenshot_median "$win" "$ARTIFACTS/save_$1.png"; }
# Day, money and buildings of a day line.
day_state() { awk '{print $2, $3, $8}'; }
in_log() { grep -q "^$1" "$WORK/game.log"; }
ready_count() { grep -c '^Game ready' "$WORK/game.log" || true; }
# Pixels of the city's region that differ clearly between two screens ($n); a few may (smoke, cars).
same_city() {
  convert "$1" -crop "$city_region" +repage "$WORK/crop_a.png"
  convert "$2" -crop "$city_region" +repage "$WORK/crop_b.png"
  n=$(compare -metric AE -fuzz 12% "$WORK/crop_a.png" "$WORK/crop_b.png" null: 2>&1 || true)
  n=${n%% *}
  awk -v n="$n" 'BEGIN { exit !(n + 0 == n && n < 240 * 150 * 0.03) }'
}
# The screen $1 shows the city as it was saved, once the loaded city is drawn.
shows_saved_city() {
  shot "$1"
  same_city "$ARTIFACTS/save_1_before.png" "$ARTIFACTS/save_$1.png"
}
# The last day line has the saved day, money and buildings.
day_as_saved() { [ "$(last_day | day_state)" = "$saved_day" ]; }

# A road, a house and its water tower (lib.sh: first_town).
first_town

# "Sehr schnell" until the house is finished and inhabited, then the city pauses.
click $very_fast
inhabited() {
  set -- $(last_day)
  [ "$#" -ge 10 ] && [ "$4" -ge 1 ] && [ "$9" -ge 1 ]
}
eventually 180 inhabited || fail "the house was not finished and inhabited: $(last_day)"
# Paused once no day line comes for longer than two days last at "Sehr schnell".
click $pause
eventually 20 no_new_day 3 || fail "the game did not pause: $(last_day)"
saved_day=$(last_day | day_state)
shot 1_before

# "Speichern" from the options row opens the text field; Return saves under the offered name.
menu_choose $menu_options 1
rest
wait_shown 10 "$ARTIFACTS/save_1_before.png" "$field_text" "$WORK/save_field.png" ||
  fail "Speichern did not open the text field"
xdotool key --window "$win" Return
eventually 10 in_log "Gespeichert: $save_name" || fail "no 'Gespeichert' after saving"
# The message stands on a dark box at the top centre for a while.
message_shown() {
  screenshot "$win" "$ARTIFACTS/save_2_saved.png"
  d=$(region_diff "$ARTIFACTS/save_1_before.png" "$ARTIFACTS/save_2_saved.png" 200x24+412+16)
  awk -v d="$d" 'BEGIN { exit !(d > 10) }'
}
eventually 10 message_shown || fail "no message shown at the top after saving (difference $d)"
[ -s "$WORK/saves/$save_name.sav" ] || fail "saves/$save_name.sav was not written"

# "Laden" lists it first; a touch loads it and the game starts again with it.
menu_choose $menu_options 2
rest
wait_shown 10 "$ARTIFACTS/save_1_before.png" "$first_save_text" "$ARTIFACTS/save_3_load_tool.png" ||
  fail "Laden did not list the saved cities"
click $first_save
eventually 20 in_log "Geladen: $save_name" || fail "no 'Geladen' after choosing the save"
two_ready() { [ "$(ready_count)" -ge 2 ]; }
eventually 20 two_ready || fail "the loaded city did not fade in"
eventually 10 day_as_saved || fail "after loading: '$(last_day | day_state)', saved '$saved_day'"
eventually 10 shows_saved_city 4_loaded_in_game ||
  fail "the city looks different after loading: $n pixels of $city_region differ (save_1_before.png, save_4_loaded_in_game.png)"
quit_with_escape "$win"

# A new start with --load shows the saved city.
start_game --daily --load "saves/$save_name.sav"
win=$(wait_window)
wait_ready
in_log "Geladen: $save_name" || fail "no 'Geladen' at the start with --load"
eventually 10 day_as_saved || fail "after --load: '$(last_day | day_state)', saved '$saved_day'"
eventually 10 shows_saved_city 5_loaded_at_start ||
  fail "the city looks different after loading: $n pixels of $city_region differ (save_1_before.png, save_5_loaded_at_start.png)"
quit_with_escape "$win"

# A file that is not there: the reason, then the start map.
start_game --load saves/nichts.sav
win=$(wait_window)
wait_ready
in_log "Laden fehlgeschlagen" || fail "no reason given for a missing file"
quit_with_escape "$win"
echo "PASS: saved, loaded in the game and at the start: $saved_day"
