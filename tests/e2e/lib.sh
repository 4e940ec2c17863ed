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
# for at most $1 seconds: the game shows the effect of input a frame or a few later.
eventually() {
  local seconds=$1
  shift
  for _ in $(seq 1 $((seconds * 5))); do
    "$@" && return 0
    sleep 0.2
  done
  return 1
}

window_size() { xwininfo -id "$1" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }

# A picture of the window; X may refuse a grab while the window is being redrawn, so try again.
screenshot() {
  local i
  for i in 1 2 3 4 5; do
    import -window "$1" "$2" 2>/dev/null && return 0
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
    screenshot "$1" "$WORK/median_$i.png"
    sleep 0.07
  done
  convert "$WORK/median_1.png" "$WORK/median_2.png" "$WORK/median_3.png" -evaluate-sequence median "$2"
}

# Mean difference (0-100) of a region WxH+X+Y between two pictures of equal size.
region_diff() {
  convert "$1" "$2" -compose difference -composite -crop "$3" +repage -colorspace Gray -format '%[fx:100*mean]' info:
}

# Share (0-100) of the pixels of a region that are nearly white.
white_share() {
  convert "$1" -crop "$2" +repage -fx '(r > 0.85 && g > 0.85 && b > 0.85) ? 1 : 0' -format '%[fx:100*mean]' info:
}

# Sets an option of the scratch folder's options.cfg: the line after "- KEY" becomes VALUE.
set_option() {
  grep -q -a "^- $1" "$WORK/cfg/options.cfg" || fail "options.cfg has no key '$1'"
  sed -i "/^- $1/{n;s/.*/$2/}" "$WORK/cfg/options.cfg"
}

# A click of the left button at X Y in the game's window ($win), as a player makes it: the pointer
# arrives, rests a moment, clicks; the game gets a few frames to answer.
click() {
  xdotool mousemove --window "$win" $1 $2
  sleep 0.25
  xdotool click --window "$win" 1
  sleep 0.4
}
# The pointer to the top right corner of a 1024-pixel-wide window, away from every panel.
rest() { xdotool mousemove --window "$win" 1010 20; sleep 0.6; }
# The last --daily line of the game's output.
last_day() { grep '^day ' "$WORK/game.log" | tail -n 1; }
