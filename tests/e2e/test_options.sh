#!/usr/bin/env bash
# options.cfg is read at start: 800 x 600 without the FPS line. At the end gadgets.cfg holds
# the ten panel records in order.
source "$(dirname "$0")/lib.sh"
printf -- '-Resolution horizontal\r\n800\r\n-Resolution vertical\r\n600\r\n-Show FPS and Version\r\n0\r\n' >"$WORK/cfg/options.cfg"
rm -f "$WORK/cfg/gadgets.cfg"
start_xvfb
start_game --new
win=$(wait_window)
[ "$(window_size "$win")" = "800x600" ] || fail "window is $(window_size "$win"), not 800x600"
wait_ready
screenshot "$win" "$ARTIFACTS/options_800x600.png"
# The map lies behind the line's place: without the line its band holds no more white than the
# band below it.
line=$(white_share "$ARTIFACTS/options_800x600.png" 260x14+0+0)
below=$(white_share "$ARTIFACTS/options_800x600.png" 260x14+0+30)
awk -v l="$line" -v b="$below" 'BEGIN { exit !(l < b + 3) }' ||
  fail "the FPS line is drawn although switched off (white $line% against $below% below)"
quit_with_escape "$win"

[ -f "$WORK/cfg/gadgets.cfg" ] || fail "gadgets.cfg was not written"
records=$(grep -a -o -E '^- [a-z]+ xpos' "$WORK/cfg/gadgets.cfg" | awk '{print $2}' | tr '\n' ' ')
expected="textfieldtool multifunctionaltool minimaptool buildtool buildtoolinfo touchmousetool maintool hidetool bridgetool buildingtool "
[ "$records" = "$expected" ] || fail "gadgets.cfg records: '$records'"
head -n 2 "$WORK/cfg/gadgets.cfg" | tr -d '\r' | diff - <(printf -- '- textfieldtool xpos\n0.500000000\n') >/dev/null ||
  fail "gadgets.cfg does not begin with the text field tool's position"
echo PASS
