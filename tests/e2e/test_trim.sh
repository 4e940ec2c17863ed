#!/usr/bin/env bash
# Trimmed quads draw exactly the pixels whole quads draw (OpenGL under Xvfb).
source "$(dirname "$0")/lib.sh"
TOOL="$(dirname "$(realpath "${CLOSE_WINDOW:?path of e2e_close_window}")")/e2e_trim_compare"
start_xvfb 800x600
out=$(cd "$REPO" && "$TOOL") || fail "$out"
echo "$out" | grep -q "differ" || fail "no comparison line: $out"
echo "PASS: $out"
