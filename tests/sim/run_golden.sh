#!/usr/bin/env bash
# The headless simulator: a committed script on a fixed seed must print exactly the committed
# daily lines (update town.expected deliberately, in the commit that changes the behaviour);
# a script that cannot be read or parsed ends with exit code 2 and names the line.
# Usage: run_golden.sh <vallmora-sim>   (run from the repository root)
set -euo pipefail
SIM=$(realpath "${1:?path of vallmora-sim}")
HERE=$(cd "$(dirname "$0")" && pwd)
OUT=$(mktemp -d /tmp/vallmora-sim-XXXXXX)
trap 'rm -rf "$OUT"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$SIM" --seed 7 --script "$HERE/town.script" >"$OUT/town.out" 2>"$OUT/town.err" || fail "exit code $? on the town script"
if ! diff -u "$HERE/town.expected" "$OUT/town.out" >"$OUT/diff"; then
  head -n 40 "$OUT/diff" >&2
  fail "the daily lines differ from tests/sim/town.expected"
fi
diff -u "$HERE/town.refusals" "$OUT/town.err" >&2 || fail "the refusals differ from tests/sim/town.refusals"

# The same run again gives the same bytes.
"$SIM" --seed 7 --script "$HERE/town.script" 2>/dev/null | cmp -s - "$OUT/town.out" || fail "a second run differs"

rc=0
"$SIM" --script "$OUT/missing.script" >/dev/null 2>"$OUT/missing.err" || rc=$?
[ "$rc" = 2 ] || fail "exit code $rc for a missing script"
grep -q "missing.script" "$OUT/missing.err" || fail "no message names the missing script"

printf 'days 1\nbuild res_wohnhaus ten 3\n' >"$OUT/bad.script"
rc=0
"$SIM" --script "$OUT/bad.script" >"$OUT/bad.out" 2>"$OUT/bad.err" || rc=$?
[ "$rc" = 2 ] || fail "exit code $rc for an unreadable line"
grep -q "line 2" "$OUT/bad.err" || fail "the message does not name line 2: $(cat "$OUT/bad.err")"
[ "$(wc -l <"$OUT/bad.out")" = 2 ] || fail "the lines before the bad one were not run"
echo PASS
