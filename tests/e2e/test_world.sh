#!/usr/bin/env bash
# The game on the start map: land and water are on screen, a right-button drag moves the map by
# the drag, the wheel zooms in about the screen centre, and Escape ends the game with exit
# code 0 and a rewritten gadgets.cfg. Without the map image the game says so and stops cleanly.
source "$(dirname "$0")/lib.sh"

# Share of the pixels of a picture for which an ImageMagick fx condition holds (0 … 1).
share() { convert "$1" -fx "($2)?1:0" -format '%[fx:mean]' info:; }

# Where a patch cut from one picture is found in another (both reduced to a quarter, where rain
# streaks average out): prints "x y" of the best match.
find_patch() {
  local small="$WORK/find_small.png" big="$WORK/find_big.png" patch="$WORK/find_patch.png"
  convert "$1" -resize 25% "$small"
  convert "$2" -resize 25% "$big"
  convert "$small" -crop "$3" +repage "$patch"
  # compare reports without a final newline and exits 1 when the pictures differ.
  local out
  out=$(compare -metric RMSE -subimage-search "$big" "$patch" null: 2>&1 || true)
  echo "$out" | sed -n 's/.*@ *\([0-9-]*\),\([0-9-]*\).*/\1 \2/p'
}

[ -f "$REPO/data/maps/128/001r.png" ] || fail "the start map data/maps/128/001r.png is missing (content not generated)"

# The main tool stays closed: the zoom check below compares the middle of the view.
printf -- '- maintool visible\n0\n' >"$WORK/cfg/gadgets.cfg"
start_xvfb
start_game --new
win=$(wait_window)
wait_ready
xdotool mousemove --window "$win" 630 470

# Water is clearly blue, land green; both cover a good part of the view around the map centre.
map_visible() {
  screenshot "$win" "$ARTIFACTS/world_start.png"
  water=$(share "$ARTIFACTS/world_start.png" 'b > r + 0.1 && b > g')
  land=$(share "$ARTIFACTS/world_start.png" 'g > b && g >= r')
  awk -v w="$water" -v l="$land" 'BEGIN { exit !(w > 0.02 && l > 0.2) }'
}
eventually 10 map_visible || fail "map not visible (water share $water, land share $land)"

# A right-button drag of (+120, +40) pixels moves the map with the pointer. The patch cut at
# (50, 40) in quarter size is then found moved by (30, 10) there.
map_moved() {
  screenshot "$win" "$ARTIFACTS/world_dragged.png"
  read -r px py < <(find_patch "$ARTIFACTS/world_start.png" "$ARTIFACTS/world_dragged.png" 40x30+50+40)
  awk -v x="$px" -v y="$py" 'BEGIN { exit !(x >= 77 && x <= 83 && y >= 47 && y <= 53) }'
}
xdotool mousemove --window "$win" 200 200
sleep 0.2
xdotool mousedown --window "$win" 3
for i in $(seq 1 12); do
  xdotool mousemove --window "$win" $((200 + i * 10)) $((200 + i * 10 / 3))
  sleep 0.05
done
# The button is let go once the map has followed the pointer to its last place, so the last step
# of the drag is not lost to a slow frame; the map stays there after the release.
eventually 10 map_moved || fail "the map did not follow the right drag (patch found at $px,$py, expected about 80,50)"
xdotool mouseup --window "$win" 3
xdotool mousemove --window "$win" 630 470
eventually 5 twice map_moved ||
  fail "right drag did not move the map by the drag (patch found at $px,$py, expected about 80,50)"

# One wheel step up zooms in by the square root of two about the screen centre: the centre of
# the earlier view, enlarged, matches the new view better than unenlarged.
xdotool click --window "$win" 4
convert "$ARTIFACTS/world_dragged.png" -crop 226x170+207+155 +repage -resize 320x240! "$WORK/enlarged.png"
convert "$ARTIFACTS/world_dragged.png" -crop 320x240+160+120 +repage "$WORK/plain.png"
rmse() { compare -metric RMSE "$1" "$2" null: 2>&1 | sed 's/.*(\(.*\)).*/\1/' || true; }
zoomed_in() {
  screenshot "$win" "$ARTIFACTS/world_zoomed.png"
  convert "$ARTIFACTS/world_zoomed.png" -crop 320x240+160+120 +repage "$WORK/zoomed.png"
  e_zoom=$(rmse "$WORK/enlarged.png" "$WORK/zoomed.png")
  e_plain=$(rmse "$WORK/plain.png" "$WORK/zoomed.png")
  awk -v z="$e_zoom" -v p="$e_plain" 'BEGIN { exit !(z < p * 0.8) }'
}
eventually 10 zoomed_in ||
  fail "the wheel did not zoom in (difference to the enlarged view $e_zoom, to the plain view $e_plain)"

xdotool key --window "$win" Escape
rc=$(wait_exit 10)
[ "$rc" = "0" ] || fail "exit code $rc after Escape"
[ -s "$WORK/cfg/gadgets.cfg" ] || fail "gadgets.cfg was not written at the end of the game"

# Without the map image: the error line, and a clean stop with exit code 0.
rm "$WORK/data"
mkdir -p "$WORK/data"
for d in "$REPO"/data/*; do [ "$(basename "$d")" = maps ] || ln -s "$d" "$WORK/data/"; done
start_game --new
rc=$(wait_exit 60)
[ "$rc" = "0" ] || fail "exit code $rc without a map"
grep -q "^Error, Game could not be loaded!" "$WORK/game.log" || fail "no error line without a map"
echo "PASS (screenshots: $ARTIFACTS/world_*.png)"
