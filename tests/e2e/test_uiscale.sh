#!/usr/bin/env bash
# The interface scale: the game started at 1280 × 720 with "UI scale" 1 and again with 2. At 2 the
# menu is drawn twice as large (its build row, folded out, reaches twice as far to the right of the
# menu's handle) and takes clicks where it is drawn: a click 30 pixels right of the build button's
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

# How far to the right of the handle the build row reaches: in a band as high as a button's face
# around the line through the row's centres, the columns where a tenth of the band or more changed
# clearly between two screens, from the handle up to the first gap as wide as a button's radius.
# Rain streaks change a few pixels of a column, a darkening sky only a little, a button face most
# of it. The row's buttons touch, so no gap within it is that wide, even where a pale map behind
# it (mist) leaves the edges of the faces and their light icons below the threshold.
# A sky that darkened or brightened between the two screens shifts every column alike: the
# threshold rises by twice the mean change of the band's right end, where no row reaches.
row_reach() {
  local y=$3 half=$((15 * $4)) gap=$((20 * $4)) width=$((1280 - handle_x)) shift threshold
  shift=$(convert "$1" "$2" -compose difference -composite -crop "120x$((2 * half))+1160+$((y - half))" +repage \
    -colorspace Gray -format '%[fx:100*mean]' info:)
  threshold=$(awk -v s="$shift" 'BEGIN { printf "%.1f", 18 + 2 * s }')
  convert "$1" "$2" -compose difference -composite -crop "${width}x$((2 * half))+$handle_x+$((y - half))" +repage \
    -colorspace Gray -threshold "${threshold}%" -scale "${width}x1!" -depth 8 -compress none pgm:- |
    awk -v gap="$gap" 'NR > 3 { for (i = 1; i <= NF; ++i) v[n++] = $i }
      END { last = -1; for (x = 0; x < n; ++x) { if (v[x] > 25) last = x; else if (last >= 0 && x - last >= gap) break }
            print last + 1 }'
}

declare -A reach
for scale in 1 2; do
  set_option "UI scale" "$scale"
  start_game
  win=$(wait_window)
  wait_ready
  xdotool windowmove "$win" 0 0
  # The build button's centre: the handle's small circle (12 units), 2 units, one button radius (20).
  y=$((handle_y + 34 * scale))
  # The screen before the click; the pointer lies away from the row's band (at the screen's
  # centre as Xvfb starts, or where the last game left it).
  xdotool mousemove --window "$win" 1200 700
  screenshot_median "$win" "$ARTIFACTS/uiscale_${scale}_start.png"
  click $((handle_x + 30 * (scale - 1))) "$y"
  xdotool mousemove --window "$win" 1200 700
  # The row is measured once its first and its last (eighth) button are drawn where the layout
  # puts them at this scale, 2·k·20·scale pixels right of the handle, where the map was: soon
  # after the screen before the click, so the weather's light has had little time to change the
  # map between the two.
  row_drawn() {
    local k x
    screenshot "$win" "$WORK/row.png"
    for k in 1 8; do
      x=$((handle_x + 40 * scale * k))
      _above "$(region_diff "$ARTIFACTS/uiscale_${scale}_start.png" "$WORK/row.png" "10x4+$((x - 5))+$((y - 14 * scale))")" 3 &&
        _above "$(face_share "$WORK/row.png" $x "$y" $scale)" 30 || return 1
    done
  }
  eventually 20 twice row_drawn || true
  screenshot_median "$win" "$ARTIFACTS/uiscale_${scale}_build_row.png"
  reach[$scale]=$(row_reach "$ARTIFACTS/uiscale_${scale}_start.png" "$ARTIFACTS/uiscale_${scale}_build_row.png" "$y" "$scale")
  echo "scale $scale: the build row reaches ${reach[$scale]} pixels right of the menu's handle"
  [ "${reach[$scale]}" -gt $((100 * scale)) ] || fail "at scale $scale the click did not open the build row"
  quit_with_escape "$win"
done

awk -v a="${reach[1]}" -v b="${reach[2]}" 'BEGIN { r = b / a; exit !(r > 1.85 && r < 2.15) }' ||
  fail "the build row at scale 2 reaches ${reach[2]} pixels, not twice the ${reach[1]} at scale 1"
echo PASS
