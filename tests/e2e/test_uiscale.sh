#!/usr/bin/env bash
# The interface scale: the game started at 1280 × 720 with "UI scale" 1 and again with 2. At 2 the
# menu is drawn twice as large (its build row, folded out, has its eight buttons twice as far apart,
# so a layout left at scale 1 would miss half of them) and takes clicks where it is drawn: a click 30 pixels right of the build button's
# centre opens the row, which at scale 1 (a button of 20 pixels' radius) would miss it.
source "$(dirname "$0")/lib.sh"

rm -f "$WORK/cfg/gadgets.cfg"
set_option "Resolution horizontal" 1280
set_option "Resolution vertical" 720
# A still map: the water's animation would be taken for a panel.
set_option "show water animation" 0
set_option "show water image change" 0
start_xvfb 1920x1080

# The menu's handle with the default gadgets.cfg: 0.15 and 0.2 of the screen, whatever the scale.
handle_x=192 handle_y=144

for scale in 1 2; do
  set_option "UI scale" "$scale"
  start_game --new
  win=$(wait_window)
  wait_ready
  xdotool windowmove "$win" 0 0
  # The build button's centre: the handle's small circle (12 units), 2 units, one button radius (20).
  y=$((handle_y + 34 * scale))
  click $((handle_x + 30 * (scale - 1))) "$y"
  # The pointer away from the row, so neither it nor a tooltip covers a face.
  xdotool mousemove --window "$win" 1200 700
  # The row is open once all eight of its buttons show their light faces where the layout puts
  # them at this scale, 2·k·20·scale pixels right of the handle (read from the picture alone,
  # so neither rain nor a sky that darkens between two screens can fake or hide a button).
  row_faces() {
    local k
    screenshot "$win" "$WORK/row.png"
    for k in 1 2 3 4 5 6 7 8; do
      _above "$(face_share "$WORK/row.png" $((handle_x + 40 * scale * k)) "$y" "$scale")" 30 || return 1
    done
  }
  eventually 20 twice row_faces || {
    cp "$WORK/row.png" "$ARTIFACTS/uiscale_${scale}_build_row.png"
    fail "at scale $scale the click did not open the build row where the layout puts it"
  }
  cp "$WORK/row.png" "$ARTIFACTS/uiscale_${scale}_build_row.png"
  echo "scale $scale: the build row's eighth button lies $((40 * scale * 8)) pixels right of the menu's handle"
  quit_with_escape "$win"
done

echo PASS
