#!/usr/bin/env bash
# The Debian package end to end: made from the built folder (scripts/package), checked by lintian
# when it is installed, unpacked into a scratch root (dpkg -x, with the font of its dependency
# fonts-dejavu-core beside it) and started from there with HOME and the XDG folders in the
# scratch folder and an empty working folder. Its menu entry opens the title screen, and the first
# start copies the shipped settings; a new game reaches "Game ready" and, when left, lands its
# save in the XDG data folder; vallmora-sim prints the golden town. Nothing is written under the
# prefix or into the working folder. Then the bad cases: a damaged settings file is kept aside,
# folders that cannot be written are named and the game goes on, and without its data folder the
# game ends with exit code 1 and the reason.
source "$(dirname "$0")/lib.sh"
BUILD=$(dirname "$GAME")
ROOT=$WORK/root RUN=$WORK/run HOMEDIR=$WORK/home
CONFIG=$HOMEDIR/config/vallmora DATA=$HOMEDIR/data/vallmora
mkdir -p "$RUN" "$HOMEDIR"

package=$("$REPO/scripts/package" "$BUILD" "$WORK/pkg") || fail "no package was made"
if command -v lintian >/dev/null; then
  lintian --fail-on error "$package" >"$WORK/lintian.log" 2>&1 || { cat "$WORK/lintian.log" >&2; fail "lintian reports errors"; }
fi
dpkg -x "$package" "$ROOT"
deps=$(dpkg-deb -f "$package" Depends)
for dep in libsdl2 libepoxy libpng libjpeg libfreetype fonts-dejavu-core; do
  [[ "$deps" == *"$dep"* ]] || fail "the package does not depend on $dep: $deps"
done
font=$ROOT/usr/share/vallmora/data/gfx/gui/font.ttf
[ -L "$font" ] || fail "the package's font is no link into fonts-dejavu-core"
mkdir -p "$ROOT/usr/share/fonts/truetype/dejavu"
cp /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf "$ROOT/usr/share/fonts/truetype/dejavu/"
[ -f "$font" ] || fail "the font link does not reach the dependency's font"
# Every file of the prefix with its size and time, to see that no run writes there.
prefix_state() { find "$ROOT" -printf '%P %y %s %T@\n' | sort; }
prefix_state >"$WORK/prefix.before"

# Starts the unpacked game ($@: the command, found on the package's PATH) in the empty working
# folder with the scratch HOME; its output goes to $WORK/game.log as start_game's does.
start_installed() {
  rm -f "$WORK/exit_code"
  (
    cd "$RUN"
    rc=0
    env HOME="$HOMEDIR" XDG_CONFIG_HOME="${CONFIG_HOME:-$HOMEDIR/config}" XDG_DATA_HOME="${DATA_HOME:-$HOMEDIR/data}" \
      PATH="$ROOT/usr/games:$PATH" "$@" >"$WORK/game.log" 2>&1 || rc=$?
    echo "$rc" >"$WORK/exit_code"
  ) &
  GAME_PID=$!
}
said() { grep -qF -- "$1" "$WORK/game.log" || fail "the game did not say: $1"; }
untouched() {
  prefix_state | diff "$WORK/prefix.before" - >&2 || fail "something was written under the prefix $ROOT"
  [ -z "$(ls -A "$RUN")" ] || fail "something was written into the working folder: $(ls -A "$RUN")"
}
title_ready() { grep -q "^Title ready" "$WORK/game.log"; }

start_xvfb
# The menu entry's command opens the title screen; the first start copies the shipped settings.
entry=$(sed -n 's/^Exec=//p' "$ROOT/usr/share/applications/vallmora.desktop")
[ -n "$entry" ] || fail "the desktop entry has no Exec line"
start_installed $entry
win=$(wait_window)
eventually 60 title_ready || fail "the title screen did not come"
said "Files: installed layout, data in $ROOT/usr/share/vallmora, settings in $CONFIG, saved cities and screenshots in $DATA"
said "Settings copied to $CONFIG: vallmora.cfg, options.cfg"
cmp -s "$CONFIG/options.cfg" "$ROOT/usr/share/vallmora/cfg/options.cfg" || fail "options.cfg was not copied"
quit_with_escape "$win"

# A new game; leaving it saves the city into the XDG data folder and the panels into the settings.
start_installed vallmora --new
win=$(wait_window)
wait_ready
quit_with_escape "$win"
said "Automatisch gespeichert: $DATA/saves/autosave.sav"
[ -s "$DATA/saves/autosave.sav" ] || fail "no autosave in $DATA/saves"
[ -s "$CONFIG/gadgets.cfg" ] || fail "gadgets.cfg was not written to $CONFIG"
grep -q "Settings copied" "$WORK/game.log" && fail "the settings were copied again"
untouched

# The installed simulator reads the installed data and prints the golden town.
(cd "$RUN" && HOME="$HOMEDIR" "$ROOT/usr/games/vallmora-sim" --seed 7 --script "$REPO/tests/sim/town.script" \
  >"$WORK/sim.out" 2>/dev/null) || fail "vallmora-sim ended with exit code $?"
if ! cmp -s "$REPO/tests/sim/town-growth.expected" "$WORK/sim.out"; then
  diff -u "$REPO/tests/sim/town-growth.expected" "$WORK/sim.out" | head -n 20 >&2 || true
  fail "the installed vallmora-sim differs from the golden town"
fi
untouched

# A damaged options.cfg (a file of zero bytes, as a crash can leave) is kept aside and replaced.
head -c 600 /dev/zero >"$CONFIG/options.cfg"
start_installed vallmora --new
win=$(wait_window)
wait_ready
said "Settings file $CONFIG/options.cfg was damaged (it holds bytes that are no text): kept as $CONFIG/options.cfg.damaged, the shipped one is used again"
cmp -s "$CONFIG/options.cfg" "$ROOT/usr/share/vallmora/cfg/options.cfg" || fail "options.cfg was not replaced"
[ "$(wc -c <"$CONFIG/options.cfg.damaged")" = 600 ] || fail "the damaged options.cfg was not kept"
quit_with_escape "$win"

# Settings and data folders that cannot be made (a file stands where they belong): both are named,
# and the game starts with the shipped settings and ends as usual.
echo "no folder" >"$HOMEDIR/blocked"
CONFIG_HOME=$HOMEDIR/blocked/config DATA_HOME=$HOMEDIR/blocked/data start_installed vallmora --new
win=$(wait_window)
wait_ready
said "Settings folder $HOMEDIR/blocked/config/vallmora cannot be written (Not a directory): the shipped settings in $ROOT/usr/share/vallmora/cfg are used and changes are not kept"
said "Folder for saved cities and screenshots $HOMEDIR/blocked/data/vallmora cannot be written (Not a directory): cities and screenshots cannot be saved"
quit_with_escape "$win"
untouched

# Without its data folder the game ends at once with exit code 1 and the reason.
mv "$ROOT/usr/share/vallmora/data" "$WORK/data-away"
start_installed vallmora --new
rc=$(wait_exit 20)
[ "$rc" = 1 ] || fail "exit code $rc without a data folder, expected 1"
said "No data folder: $ROOT/usr/share/vallmora/data is missing"
echo "PASS: $(basename "$package") installs, starts from its menu entry, keeps the player's files in the XDG folders"
