# Shared helpers of the end-to-end tests: a private Xvfb display, a scratch working folder
# with its own cfg/ (data/ linked from the repository), and ways to drive and watch the game.
set -euo pipefail

GAME=$(realpath "${1:?path of the vallmora executable}")
CLOSE_WINDOW=${2:-}
REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
ARTIFACTS=${E2E_ARTIFACTS:-$REPO/build/e2e-artifacts}
mkdir -p "$ARTIFACTS"
WORK=$(mktemp -d /tmp/vallmora-e2e-XXXXXX)
cp -r "$REPO/cfg" "$WORK/cfg"
ln -s "$REPO/data" "$WORK/data"
GAME_PID=""
XVFB_PID=""

cleanup() {
  [ -n "$GAME_PID" ] && { pkill -P "$GAME_PID" 2>/dev/null; kill "$GAME_PID" 2>/dev/null; } || true
  if [ -n "$XVFB_PID" ]; then
    # Wait until the server is gone, so the next test cannot meet it on the same display number.
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
  fi
  rm -rf "$WORK"
}
trap cleanup EXIT
# A failing command ends the test; say which one.
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND" >&2' ERR

fail() {
  # To standard error, so that a failure inside $(...) is seen too.
  echo "FAIL: $*" >&2
  [ -f "$WORK/game.log" ] && { echo "--- game output ---"; cat "$WORK/game.log"; } >&2
  exit 1
}

# Starts a private Xvfb (screen size WxH, default 1280x1024) and exports DISPLAY.
start_xvfb() {
  local screen=${1:-1280x1024}
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    # -noreset: the server must not restart when the readiness probe disconnects.
    Xvfb ":$n" -screen 0 "${screen}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 50); do
      # Our own server must be the one answering (not one still shutting down on this number).
      kill -0 "$XVFB_PID" 2>/dev/null || break
      xdpyinfo >/dev/null 2>&1 && kill -0 "$XVFB_PID" 2>/dev/null && return 0
      sleep 0.1
    done
    kill "$XVFB_PID" 2>/dev/null || true
  done
  fail "no Xvfb display could be started"
}

# Starts the game in the scratch folder with the given options; its standard output goes to
# $WORK/game.log.
start_game() {
  rm -f "$WORK/exit_code"
  (
    cd "$WORK"
    rc=0
    "$GAME" "$@" >"$WORK/game.log" 2>&1 || rc=$?
    echo "$rc" >"$WORK/exit_code"
  ) &
  GAME_PID=$!
}

# Waits for the game's window and prints its id.
wait_window() {
  local title="Vallmora - The 2D Iso Cityprojekt" id=""
  for _ in $(seq 1 200); do
    id=$(xdotool search --name "^${title}\$" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    [ -s "$WORK/exit_code" ] && fail "the game ended before its window opened"
    sleep 0.1
  done
  fail "no window titled '$title'"
}

# Waits until the game says it has faded in and takes input ("Game ready" on standard output).
wait_ready() {
  for _ in $(seq 1 600); do
    grep -q "^Game ready" "$WORK/game.log" 2>/dev/null && return 0
    [ -s "$WORK/exit_code" ] && fail "the game ended before it was ready"
    sleep 0.1
  done
  fail "the game did not say it was ready within 60 s"
}

# Runs a check (a shell function returning 0 when what it looks for is on screen) until it holds,
# for at most $1 seconds: the game shows the effect of input a frame or a few later, and later
# still on a busy machine.
eventually() {
  local end=$((${EPOCHREALTIME//[.,]/} + $1 * 1000000))
  shift
  while :; do
    "$@" && return 0
    [ "${EPOCHREALTIME//[.,]/}" -lt "$end" ] || return 1
    sleep 0.2
  done
}

window_size() { xwininfo -id "$1" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }

# A picture of the window; X may refuse a grab while the window is being redrawn, so try again.
# PNG files are written with light compression: the waits below take many pictures.
screenshot() {
  local i
  for i in 1 2 3 4 5; do
    import -window "$1" -define png:compression-level=1 "$2" 2>/dev/null && return 0
    sleep 0.2
  done
  fail "could not take a screenshot of window $1"
}

# Mean brightness (0-100) of a region WxH+X+Y of a picture.
brightness() { convert "$1" -crop "$2" +repage -colorspace Gray -format '%[fx:100*mean]' info:; }

# Waits up to $1 seconds for the game to end and prints its exit code.
wait_exit() {
  for _ in $(seq 1 $(($1 * 10))); do
    if [ -s "$WORK/exit_code" ]; then
      cat "$WORK/exit_code"
      return 0
    fi
    sleep 0.1
  done
  fail "the game did not end within $1 s"
}

# Presses Escape in the window and expects the game to end with exit code 0.
quit_with_escape() {
  xdotool key --window "$1" Escape
  local rc
  rc=$(wait_exit 10)
  [ "$rc" = "0" ] || fail "exit code $rc after Escape"
}

# A screenshot that is the per-pixel median of three taken in a row: single-frame effects of the
# world (a lightning flash, rain streaks) drop out, so regions can be compared between states.
screenshot_median() {
  local i
  for i in 1 2 3; do
    screenshot "$1" "$WORK/median_$i.miff"
    sleep 0.07
  done
  convert "$WORK/median_1.miff" "$WORK/median_2.miff" "$WORK/median_3.miff" -evaluate-sequence median \
    -define png:compression-level=1 "$2"
}

# Mean difference (0-100) of a region WxH+X+Y between two pictures of equal size.
region_diff() {
  convert "$1" "$2" -compose difference -composite -crop "$3" +repage -colorspace Gray -format '%[fx:100*mean]' info:
}

# Share (0-100) of the pixels of a region that are nearly white (each of red, green and blue
# above 0.85; thresholds per channel and their minimum, as fast on a full screen as on a corner).
white_share() {
  convert "$1" -crop "$2" +repage -alpha off -channel RGB -threshold 85% +channel -separate \
    -evaluate-sequence min -format '%[fx:100*mean]' info:
}

# Sets an option of the scratch folder's options.cfg: the line after "- KEY" becomes VALUE.
set_option() {
  grep -q -a "^- $1" "$WORK/cfg/options.cfg" || fail "options.cfg has no key '$1'"
  sed -i "/^- $1/{n;s/.*/$2/}" "$WORK/cfg/options.cfg"
}

# Waiting for the screen. Each of these takes pictures of the window ($win) until it shows what it
# waits for, for at most $1 seconds, and returns 1 when it never does; the last picture taken is
# left in the file named, for the assertions that follow and as an artefact. The pictures are
# medians of three (screenshot_median) unless "single" is given last.
_picture() {
  if [ "${2:-}" = single ]; then screenshot "$win" "$1"; else screenshot_median "$win" "$1"; fi
}
_above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }
# Runs a check that takes a single picture twice and holds when both hold: a lightning flash or
# rain lasts a frame and cannot pass for what the check looks for.
twice() { "$@" && "$@"; }

# wait_changed SECONDS REFERENCE REGION MIN OUT [single]: until region WxH+X+Y differs from the
# picture REFERENCE by a mean of more than MIN (0-100), e.g. once a panel opened or the pointer
# arrived there.
wait_changed() {
  local seconds=$1 ref=$2 region=$3 min=$4 out=$5 kind=${6:-}
  _region_changed() { _picture "$out" "$kind" && _above "$(region_diff "$ref" "$out" "$region")" "$min"; }
  eventually "$seconds" _region_changed
}

# wait_shown SECONDS REFERENCE REGION OUT [MIN]: until region WxH+X+Y differs from the picture
# REFERENCE by a mean of more than MIN (default 3) and holds still: a panel that opened there,
# with its opening movement over.
wait_shown() {
  local seconds=$1 ref=$2 region=$3 out=$4 min=${5:-3} prev="$WORK/shown_prev.png"
  rm -f "$prev"
  _region_shown() {
    _picture "$out"
    if ! _above "$(region_diff "$ref" "$out" "$region")" "$min"; then
      rm -f "$prev"
      return 1
    fi
    [ -f "$prev" ] && ! _above "$(region_diff "$prev" "$out" "$region")" 1 && return 0
    cp "$out" "$prev"
    return 1
  }
  eventually "$seconds" _region_shown
}

# Share (0-100) of the light grey face of a round button (radius 20 at interface scale 1, 20·$4
# at scale $4) centred at X Y ($2 $3) in picture $1, taken just inside its top rim above the icon.
# Panels are drawn over the weather's light, so the face keeps its grey whatever lies behind.
face_share() {
  local scale=${4:-1}
  convert "$1" -crop "10x4+$(($2 - 5))+$(($3 - 14 * scale))" +repage \
    -fx '(abs(r - g) < 0.06 && abs(g - b) < 0.06 && r > 0.55) ? 1 : 0' -format '%[fx:100*mean]' info:
}

# Chooses the K-th button ($3) of a row of the menu at 1024 × 768 (buttons of radius 20, the row
# to the right): a click on the row's main button at X Y, once the row has unfolded (the K-th
# button's face is drawn 2·K·20 pixels to the right, where the map was) a click on that button,
# and back once the row has folded in again (the place no longer looks as with the row open),
# which it does when one of its buttons fired. The pointer rests in the corner while the screen is
# read, so neither it nor a tooltip changes the place.
menu_choose() {
  local x=$1 y=$2 k=$3
  local bx=$((x + 40 * k))
  local box="36x36+$((bx - 18))+$((y - 18))"
  rest
  screenshot "$win" "$WORK/row_before.png"
  click "$x" "$y"
  rest
  _row_is() {
    local now=$WORK/row_$1.png
    screenshot "$win" "$now"
    if [ "$1" = open ]; then
      _above "$(region_diff "$WORK/row_before.png" "$now" "$box")" 7 && _above "$(face_share "$now" "$bx" "$y")" 30
    else
      _above "$(region_diff "$WORK/row_open.png" "$now" "$box")" 7
    fi
  }
  eventually 10 twice _row_is open || {
    cp "$WORK/row_before.png" "$WORK/row_open.png" "$ARTIFACTS/"
    fail "the menu row at $x,$y did not unfold (no button at $bx,$y; see row_*.png)"
  }
  click "$bx" "$y"
  rest
  eventually 10 twice _row_is folded || {
    cp "$WORK/row_before.png" "$WORK/row_open.png" "$WORK/row_folded.png" "$ARTIFACTS/"
    fail "the menu row at $x,$y did not fold in after a click on its button $k (see row_*.png)"
  }
}

# A click of the left button at X Y in the game's window ($win), as a player makes it: the pointer
# arrives, rests a moment, clicks, and stays a moment. What the click brings about is waited for
# by the caller (menu_choose, wait_shown, a line on the output, ...), not assumed after the pause.
click() {
  xdotool mousemove --window "$win" $1 $2
  sleep 0.25
  xdotool click --window "$win" 1
  sleep 0.4
}

# The pointer's place in the window $win as "X Y".
pointer_in_window() {
  local X Y WINDOW SCREEN WIDTH HEIGHT px py
  eval "$(xdotool getmouselocation --shell)"
  px=$X py=$Y
  eval "$(xdotool getwindowgeometry --shell "$win")"
  echo $((px - X)) $((py - Y))
}

# The pointer to the top right corner of a 1024-pixel-wide window, away from every panel. Returns
# once the game draws it there (the corner changes), so the next picture has neither the pointer
# nor a tooltip where it was; a pointer already in the corner is not moved.
rest() {
  local corner=14x20+1010+20
  [ "$(pointer_in_window)" = "1010 20" ] && return 0
  screenshot "$win" "$WORK/rest_before.png"
  xdotool mousemove --window "$win" 1010 20
  wait_changed 10 "$WORK/rest_before.png" "$corner" 8 "$WORK/rest_after.png" single ||
    fail "the pointer was not drawn in the corner it was moved to"
}

# The last --daily line of the game's output, how many there are, and the money of the last.
last_day() { grep '^day ' "$WORK/game.log" | tail -n 1; }
day_count() { grep -c '^day ' "$WORK/game.log" || true; }
day_money() { last_day | awk '{print $3}'; }
# The money of the last day line is below $1: what was built has been paid.
money_below() { awk -v m="$(day_money)" -v b="$1" 'BEGIN { exit !(m != "" && m < b) }'; }
# No day line comes for $1 seconds: the game is paused (at "Sehr schnell" a day lasts 1.25 s).
no_new_day() {
  local n
  n=$(day_count)
  sleep "$1"
  [ "$(day_count)" = "$n" ]
}

# A player's first town at 1024 × 768 with the default gadgets.cfg: a road by two clicks from the
# build row's road tool, a house beside it from the residential tool and, from the public tool,
# the water tower a house asks for across the road (the tool shows its first item of level 1; one
# step back with its left arrow is the last, the tower). Each is paid on the next day line; key 9
# closes the build tool. $1, when given, is called with a name after each step (to take a screen).
first_town() {
  local step=${1:-true} menu_build="154 188" before
  menu_choose $menu_build 1
  click 250 150
  click 380 215
  eventually 30 money_below 100000 || fail "the road was not built: $(last_day)"
  "$step" road
  menu_choose $menu_build 2
  before=$(day_money)
  click 330 170
  eventually 30 money_below "$before" || fail "the house was not built: $(last_day)"
  "$step" house
  menu_choose $menu_build 6
  before=$(day_money)
  click 685 236
  click 290 185
  eventually 30 money_below "$before" || fail "the water tower was not built: $(last_day)"
  "$step" tower
  xdotool key --window "$win" 9
}

