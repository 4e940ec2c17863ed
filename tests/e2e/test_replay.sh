#!/usr/bin/env bash
# A played game can be played again: the game records a short session at 1024 × 768 (a road, a
# house and its water tower, one step up of the level-1 tax, "Sehr schnell") with --record and
# --daily; vallmora-sim --replay of the recording prints exactly the day lines the game printed,
# although the game drew its frames at whatever rate this machine gave it.
source "$(dirname "$0")/lib.sh"

SIM=$(dirname "$GAME")/vallmora-sim
[ -x "$SIM" ] || fail "no vallmora-sim beside the game ($SIM)"
money_bar="615 611" tax_up="575 428" very_fast="716 745"
replay=$WORK/game.replay

rm -f "$WORK/cfg/gadgets.cfg"
set_option "Resolution horizontal" 1024
set_option "Resolution vertical" 768
start_xvfb
start_game --new --daily --record "$replay"
win=$(wait_window)
wait_ready
grep -q "^Recording the game to a replay" "$WORK/game.log" || fail "the game does not say it records"

first_town
recorded() { grep -q "^[0-9]* $1" "$replay"; }
click $money_bar
rest
click $tax_up
eventually 10 recorded "tax 1 " || fail "the tax step was not recorded: $(cat "$replay")"
click $very_fast
eventually 10 recorded "speed " || fail "the speed was not recorded"
enough_days() { [ "$(day_count)" -ge 40 ]; }
eventually 120 enough_days || fail "the game did not reach 40 days: $(last_day)"
quit_with_escape "$win"
tail -n 1 "$replay" | grep -q "^[0-9]* end$" || fail "the recording has no end line: $(tail -n 2 "$replay")"

"$SIM" --replay "$replay" >"$WORK/replay.out" 2>"$WORK/replay.err" || fail "the replay ended with exit code $?: $(cat "$WORK/replay.err")"
grep '^day ' "$WORK/game.log" | sed 's/^day //' >"$ARTIFACTS/replay_game_days.txt"
tail -n +2 "$WORK/replay.out" >"$ARTIFACTS/replay_sim_days.txt"
cp "$replay" "$ARTIFACTS/replay_game.replay"
diff -u "$ARTIFACTS/replay_game_days.txt" "$ARTIFACTS/replay_sim_days.txt" | head -n 20 >&2
cmp -s "$ARTIFACTS/replay_game_days.txt" "$ARTIFACTS/replay_sim_days.txt" ||
  fail "the replay's day lines differ from the game's (replay_game_days.txt, replay_sim_days.txt)"
echo "PASS: $(wc -l <"$ARTIFACTS/replay_game_days.txt") day lines and $(grep -c . "$replay") recorded lines played again alike"
