#!/usr/bin/env bash
# Real samples through SDL's disk audio driver at 1024 × 768: the ambience plays from the start,
# and laying a road by two clicks sounds above the ambience's level at that moment.
source "$(dirname "$0")/lib.sh"

menu_build="154 188"
audio=$WORK/audio.raw
# 16-bit stereo at 22050 Hz: the bytes of one second.
second=$((22050 * 4))

set_option "Resolution horizontal" 1024
set_option "Resolution vertical" 768
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$audio
start_xvfb
start_game --new --daily
win=$(wait_window)
wait_ready
grep -q "No sound device" "$WORK/game.log" && fail "the disk driver was not taken as a sound device"

size() { stat -c %s "$audio" 2>/dev/null || echo 0; }
grown_to() { [ "$(size)" -ge "$1" ]; }
# The peak of the samples (both channels) in bytes [from, from + count) of the file.
peak() {
  od -An -t d2 -v -j "$(($1 / 4 * 4))" -N "$2" "$audio" |
    awk '{ for (i = 1; i <= NF; i++) { v = $i < 0 ? -$i : $i; if (v > m) m = v } } END { print m + 0 }'
}

# Two seconds of the city's sound before anything is done.
eventually 30 grown_to $((2 * second)) || fail "the disk driver wrote no samples"
before=$(size)
ambience=$(peak $((before - 2 * second)) $((2 * second)))

# The road tool (the menu's clicks sound too), the road's start, then its end: the road is laid.
menu_choose $menu_build 1
click 250 150
at_road=$(size)
click 380 215
eventually 30 money_below 100000 || fail "the road was not built: $(last_day)"
eventually 10 grown_to $((at_road + 2 * second)) || fail "the disk driver stopped writing"
road=$(peak "$at_road" $((2 * second)))
echo "ambience peak $ambience, road peak $road"
_above "$road" "$((ambience * 3 / 2))" || fail "the road ($road) is not heard above the ambience ($ambience)"
_above "$ambience" 0 || fail "the ambience is silent"
quit_with_escape "$win"
