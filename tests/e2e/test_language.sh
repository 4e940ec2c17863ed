#!/usr/bin/env bash
# The interface's language from options.cfg: "Language" 2 is English (leaving the game says
# "Autosaved"), a number without a catalogue stays German with one line saying so, and a broken
# catalogue stays German with one line naming the file and the line of the fault.
source "$(dirname "$0")/lib.sh"
start_xvfb

# Starts a new game in the language, waits until it takes input and leaves it with Escape.
play_and_leave() {
  set_option "Language" "$1"
  start_game --new
  local win
  win=$(wait_window)
  wait_ready
  quit_with_escape "$win"
}
in_log() { grep -q -- "$1" "$WORK/game.log"; }

play_and_leave 2
in_log "^Autosaved: saves/autosave.sav" || fail "in English leaving did not say 'Autosaved'"
if in_log "using Deutsch"; then fail "the English catalogue was not taken"; fi

play_and_leave 3
[ "$(grep -c "^Language 3 is not available" "$WORK/game.log")" = 1 ] || fail "language 3 was not reported once"
in_log "^Automatisch gespeichert: saves/autosave.sav" || fail "language 3 did not leave the game German"

# A broken catalogue: data/ is a link to the repository's, so a folder of links stands in for it
# with a damaged en.po of its own.
rm "$WORK/data"
mkdir -p "$WORK/data/lang"
for entry in "$REPO"/data/*; do
  [ "$(basename "$entry")" = lang ] || ln -s "$entry" "$WORK/data/"
done
printf 'msgid "Laden"\nmsgstr "Load\n' >"$WORK/data/lang/en.po"
play_and_leave 2
in_log "^data/lang/en.po: line 2: the closing quote is missing, using Deutsch" ||
  fail "the broken catalogue was not named with its line"
in_log "^Automatisch gespeichert: saves/autosave.sav" || fail "a broken catalogue did not leave the game German"
echo "PASS"
