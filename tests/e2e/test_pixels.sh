#!/usr/bin/env bash
# Scenes drawn two ways give the same pixels (OpenGL under Xvfb): trimmed and whole quads, the night in one fill or two.
source "$(dirname "$0")/lib.sh"
TOOL="$(dirname "$(realpath "${CLOSE_WINDOW:?path of e2e_close_window}")")/e2e_pixel_compare"
start_xvfb 800x600
out=$(cd "$REPO" && "$TOOL") || fail "$out"
echo "$out" | grep -q "differ" || fail "no comparison line: $out"
echo "PASS: $out"
