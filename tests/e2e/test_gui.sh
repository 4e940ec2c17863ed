#!/usr/bin/env bash
# The panels in the game: "Bauen" folds its row out with the buttons where the menu lays them
# out, key 8 starts demolition with its preview under the pointer, P saves a screenshot, and
# the menu dragged by its handle is found at its new place in gadgets.cfg after Escape.
source "$(dirname "$0")/lib.sh"

# The menu's layout at 640 × 480 with the default gadgets.cfg: handle at (0.15, 0.2) of the
# screen, radius 12; main buttons of radius 20 below it; a row's k-th button 2·k·20 to the right.
hx=96 hy=96
bx=$hx by=$((hy + 12 + 2 + 20))
rm -f "$WORK/cfg/gadgets.cfg"
start_xvfb
start_game --new
win=$(wait_window)
wait_ready

# "Bauen" unfolds eight buttons in a row, and a second click folds it in. Panels are drawn over
# the weather's light, so a button shows as the light grey of its face just inside its top rim
# (face_share), at each place the layout gives it and nowhere after the last.
click_build() {
  xdotool mousemove --window "$win" $bx $by
  sleep 0.2
  xdotool click --window "$win" 1
  xdotool mousemove --window "$win" 630 470
}
# The row as a picture shows it: "open" with a face at each of the eight places and none at the
# ninth, "folded" with none.
row_shows() {
  local k share
  for k in 1 2 3 4 5 6 7 8 9; do
    share=$(face_share "$2" $((bx + 40 * k)) $by)
    if [ "$1" = open ] && [ $k -le 8 ]; then _above "$share" 15 || return 1; else _above 5 "$share" || return 1; fi
  done
}
# Waits until the screen shows the row so (the assertions below say where it does not).
row_becomes() {
  _row_now() { screenshot_median "$win" "$2" && row_shows "$1" "$2"; }
  eventually 10 _row_now "$@" || true
}
click_build
row_becomes open "$ARTIFACTS/gui_build_row.png"
click_build
row_becomes folded "$ARTIFACTS/gui_build_row_folded.png"
for k in 1 2 3 4 5 6 7 8 9; do
  open=$(face_share "$ARTIFACTS/gui_build_row.png" $((bx + 40 * k)) $by)
  folded=$(face_share "$ARTIFACTS/gui_build_row_folded.png" $((bx + 40 * k)) $by)
  want=$([ $k -le 8 ] && echo button || echo map)
  awk -v o="$open" -v f="$folded" -v w=$want 'BEGIN { exit !((w == "button" ? o > 15 : o < 5) && f < 5) }' ||
    fail "build row at place $k: face share $open unfolded, $folded folded in (expected a $want)"
done

# Key 8 starts the demolition mode (also with the row folded in): its red preview follows the pointer.
red_share() {
  convert "$1" -crop 60x40+150+280 +repage -fx '(r > g + 0.25 && r > b + 0.25) ? 1 : 0' -format '%[fx:100*mean]' info:
}
xdotool mousemove --window "$win" 180 300
sleep 0.3
screenshot "$win" "$WORK/before_8.png"
red_before=$(red_share "$WORK/before_8.png")
xdotool key --window "$win" 8
red_preview() {
  screenshot "$win" "$ARTIFACTS/gui_destroy.png"
  awk -v r="$(red_share "$ARTIFACTS/gui_destroy.png")" -v b="$red_before" 'BEGIN { exit !(r > b + 3) }'
}
eventually 5 red_preview || fail "no demolition preview under the pointer after key 8"

# P saves a picture into screens/, which it makes first (a fresh folder has none)..
xdotool key --window "$win" p
shot_saved() { ls "$WORK"/screens/pic_*.png >/dev/null 2>&1; }
eventually 5 shot_saved || fail "no screenshot file after P"

# Dragging the handle moves the whole menu; its place goes to gadgets.cfg at the end. The button
# is let go once the menu is drawn at the pointer's last place (its "Bauen" button's face there,
# where the map was), so the last step of the drag is not lost to a slow frame.
screenshot "$win" "$WORK/before_drag.png"
moved_bx=$((bx + 200)) moved_by=$((by + 100))
menu_moved() {
  screenshot "$win" "$WORK/dragging.png"
  _above "$(region_diff "$WORK/before_drag.png" "$WORK/dragging.png" "36x36+$((moved_bx - 18))+$((moved_by - 18))")" 7 &&
    _above "$(face_share "$WORK/dragging.png" $moved_bx $moved_by)" 30
}
xdotool mousemove --window "$win" $hx $hy
sleep 0.2
xdotool mousedown --window "$win" 1
for i in $(seq 1 10); do
  xdotool mousemove --window "$win" $((hx + i * 20)) $((hy + i * 10))
  sleep 0.05
done
eventually 10 twice menu_moved || fail "the menu was not drawn at the end of the drag"
xdotool mouseup --window "$win" 1
sleep 0.3
quit_with_escape "$win"
read -r mx my < <(awk '/^- multifunctionaltool xpos/ {getline; x=$1} /^- multifunctionaltool ypos/ {getline; y=$1}
  END {print x * 640, y * 480}' "$WORK/cfg/gadgets.cfg")
awk -v x="$mx" -v y="$my" -v ex=$((hx + 200)) -v ey=$((hy + 100)) \
  'BEGIN { exit !(x > ex - 3 && x < ex + 3 && y > ey - 3 && y < ey + 3) }' ||
  fail "menu stored at $mx,$my after the drag, expected about $((hx + 200)),$((hy + 100))"
echo "PASS: the build row unfolds, 8 demolishes, P saves a picture, the dragged menu is stored"
