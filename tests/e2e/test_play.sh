#!/usr/bin/env bash
# A player's first minutes with nothing but clicks and keys, at 1024 × 768: open the road tool,
# build a road by two clicks, open the residential tool and place a house beside the road and,
# from the public tool, the water tower it asks for across the road (lib.sh: first_town), rename
# the city in the name bar, raise the level-1 tax by one step, switch to "Sehr schnell", wait for
# the house to be finished and inhabited (the game's --daily lines), and open the house's info.
# Screens of each step go to the artefacts folder.
source "$(dirname "$0")/lib.sh"

# Places of the panels at 1024 × 768 with the default gadgets.cfg (the menu's handle at
# (154, 154), its rows 40 pixels apart with buttons of radius 20; the main tool pushed up to fit
# the screen).
menu_view="154 228"
name_bar="615 569" money_bar="615 611" very_fast="716 745"
tax_up="575 428" tax_text="40x16+566+371"  # the rate's digits
name_text="100x20+540+372"                 # the start of the text field's line
house="330 170"

rm -f "$WORK/cfg/gadgets.cfg"
set_option "Resolution horizontal" 1024
set_option "Resolution vertical" 768
# One house beside a road and no jobs: it fills under the rule set "Klassisch" only.
set_option "Rule set" classic
start_xvfb
start_game --new --daily
win=$(wait_window)
wait_ready

shot() { rest; screenshot "$win" "$ARTIFACTS/play_$1.png"; }
# Mean difference of a region between two of this test's screens.
changed() { region_diff "$ARTIFACTS/play_$1.png" "$ARTIFACTS/play_$2.png" "$3"; }

# The road, the house and the water tower.
town_shot() { case $1 in road) shot 2_road ;; house) shot 3_house ;; tower) shot 3_tower ;; esac; }
first_town town_shot

# Renaming: the name bar opens the text field, a touch on the field places the cursor.
screenshot_median "$win" "$WORK/before_name_field.png"
click $name_bar
rest
wait_shown 10 "$WORK/before_name_field.png" "$name_text" "$ARTIFACTS/play_4_name_field.png" ||
  fail "the name bar did not open the text field"
click 760 384
xdotool key --window "$win" End $(printf 'BackSpace %.0s' $(seq 1 20))
# Key by key: "xdotool type" borrows spare key codes, which the game may first see as other keys.
xdotool key --window "$win" --delay 60 shift+n e u s t a d t
sleep 0.3
xdotool key --window "$win" Return
rest
renamed() {
  screenshot "$win" "$ARTIFACTS/play_5_renamed.png"
  d=$(changed 4_name_field 5_renamed 160x30+535+554)
  awk -v d="$d" 'BEGIN { exit !(d > 3) }'
}
eventually 10 renamed || fail "the name bar did not change after renaming (difference $d)"

# Taxes: the money bar opens the tax tool; one step up on level 1.
screenshot_median "$win" "$WORK/before_tax.png"
click $money_bar
rest
wait_shown 10 "$WORK/before_tax.png" "$tax_text" "$ARTIFACTS/play_6_tax.png" || fail "the money bar did not open the tax tool"
click $tax_up
rest
tax_raised() {
  screenshot "$win" "$ARTIFACTS/play_7_tax_up.png"
  d=$(changed 6_tax 7_tax_up "$tax_text")
  awk -v d="$d" 'BEGIN { exit !(d > 2) }'
}
eventually 10 tax_raised || fail "the tax rate did not change after a step up (difference $d)"

# "Sehr schnell", then the house is finished and inhabited within a couple of minutes.
click $very_fast
inhabited() {
  local line
  line=$(last_day)
  # day money inhabitants waiting employed satisfaction buildings finished cars
  set -- $line
  [ "$#" -ge 10 ] && [ "$4" -ge 1 ] && [ "$8" -ge 1 ] && [ "$9" -ge 1 ]
}
eventually 180 inhabited || fail "the house was not finished and inhabited: $(last_day)"
shot 8_inhabited
money=$(day_money)
awk -v m="$money" 'BEGIN { exit !(m < 100000) }' || fail "building cost nothing (money $money)"

# The info mode from the view row; a click on the house opens its info, compared with the screen
# just before the click.
menu_choose $menu_view 7
rest
screenshot "$win" "$WORK/before_info.png"
click $house
rest
info_opened() {
  screenshot "$win" "$ARTIFACTS/play_9_house_info.png"
  d=$(region_diff "$WORK/before_info.png" "$ARTIFACTS/play_9_house_info.png" 200x200+412+69)
  awk -v d="$d" 'BEGIN { exit !(d > 5) }'
}
eventually 10 info_opened || fail "no building info opened (difference $d)"
quit_with_escape "$win"
echo "PASS: road, house, renamed city, higher tax, very fast, inhabited house and its info: $(last_day)"
