#!/usr/bin/env bash
# The title screen by clicks: "Neues Spiel" and "Starten" give a city on the start map, "Beenden"
# in the game leads back to the title screen (after keeping the city as the autosave),
# "Weiterspielen" goes on with that city, and Escape on the title screen ends the program;
# "Startmenue" 0 in options.cfg skips the title screen.
source "$(dirname "$0")/lib.sh"
start_xvfb
set_option "Resolution horizontal" 1024
set_option "Resolution vertical" 768
start_game
win=$(wait_window)

# The column of the title screen at 1024 × 768: bars of 240 × 44 whose left edge is 24 pixels in,
# "Neues Spiel" centred at 0.55 of the height less one bar and gap, "Weiterspielen" one above.
column_x=144
new_game_y=372
continue_y=322
menu_options="154 268"

title_count() { grep -c "^Title ready" "$WORK/game.log" || true; }
ready_count() { grep -c "^Game ready" "$WORK/game.log" || true; }
titles_at_least() { [ "$(title_count)" -ge "$1" ]; }
games_at_least() { [ "$(ready_count)" -ge "$1" ]; }

eventually 60 titles_at_least 1 || fail "the title screen did not come"
rest
screenshot "$win" "$ARTIFACTS/title_1.png"
[ ! -e "$WORK/saves/autosave.sav" ] || fail "a fresh folder already holds an autosave"

# "Neues Spiel" opens the panel in the middle of the screen; its "Starten" lies under the rows.
click $column_x $new_game_y
rest
wait_shown 10 "$ARTIFACTS/title_1.png" "400x300+312+234" "$ARTIFACTS/title_2_new_game.png" ||
  fail "the new-game panel did not open"
# The panel (488 × 337 with its anchor) lies centred: "Starten" 398 pixels right of the anchor
# and 292 below it.
click 686 526
eventually 60 games_at_least 1 || fail "no game started from the new-game panel"
grep -q "^Title ready" "$WORK/game.log"

# A damaged save newer than any other is passed over by "Weiterspielen".
mkdir -p "$WORK/saves"
echo "no city" >"$WORK/saves/kaputt.sav"
touch -d "+1 hour" "$WORK/saves/kaputt.sav"

# "Beenden" in the options row: the city is kept and the title screen comes back.
menu_choose $menu_options 4
eventually 60 titles_at_least 2 || fail "Beenden did not lead back to the title screen"
[ -s "$WORK/saves/autosave.sav" ] || fail "leaving the game kept no autosave"
[ ! -s "$WORK/exit_code" ] || fail "Beenden ended the program"
rest
screenshot "$win" "$ARTIFACTS/title_3_back.png"

# "Weiterspielen" names the autosave (not the damaged file) and goes on with it.
click $column_x $continue_y
eventually 60 games_at_least 2 || fail "Weiterspielen started no game"
grep -q "Geladen: .*autosave" "$WORK/game.log" || fail "Weiterspielen did not load the autosave"

# Escape leaves the game to the title screen, and Escape there ends the program.
xdotool key --window "$win" Escape
eventually 60 titles_at_least 3 || fail "Escape did not lead back to the title screen"
quit_with_escape "$win"

# "Startmenue" 0: a new game at once, and leaving it ends the program.
set_option "Startmenue" 0
start_game
win=$(wait_window)
wait_ready
! grep -q "^Title ready" "$WORK/game.log" || fail "Startmenue 0 still showed the title screen"
quit_with_escape "$win"
echo PASS
