#!/usr/bin/env bash
# A year of the golden town at "Sehr schnell" (speed 4), headless: every daily line stays within
# sane bounds (inhabitants, waiting, employed, buildings and cars neither negative nor runaway,
# money and satisfaction numbers), the days follow each other, and nothing but the script's
# committed refusals is reported.
# Usage: run_soak.sh <vallmora-sim>   (run from the repository root)
set -euo pipefail
SIM=$(realpath "${1:?path of vallmora-sim}")
HERE=$(cd "$(dirname "$0")" && pwd)
OUT=$(mktemp -d /tmp/vallmora-soak-XXXXXX)
trap 'rm -rf "$OUT"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

{ cat "$HERE/town.script"; echo "speed 4"; echo "days 365"; } >"$OUT/year.script"
"$SIM" --seed 7 --script "$OUT/year.script" >"$OUT/year.out" 2>"$OUT/year.err" || fail "exit code $? on the year"
diff -u "$HERE/town.refusals" "$OUT/year.err" >&2 || fail "more was reported than the script's refusals"
awk '
  NR == 1 { next }
  NF != 9 { print "line " NR ": " $0; bad = 1; next }
  $1 != prev + 1 && NR > 2 { print "day " $1 " follows day " prev; bad = 1 }
  { prev = $1 }
  $2 !~ /^-?[0-9]+\.[0-9][0-9]$/ || $2 < -1000000 || $2 > 100000000 { print "money on day " $1 ": " $2; bad = 1 }
  $3 < 0 || $3 > 5000 || $4 < 0 || $4 > 5000 || $5 < 0 || $5 > $3 { print "people on day " $1 ": " $0; bad = 1 }
  $6 !~ /^[0-9]\.[0-9][0-9][0-9]$/ || $6 > 1 { print "satisfaction on day " $1 ": " $6; bad = 1 }
  $7 < 0 || $7 > 100 || $8 > $7 || $9 < 0 || $9 > 2000 { print "buildings or cars on day " $1 ": " $0; bad = 1 }
  END { if (NR < 400) { print "only " NR " lines"; bad = 1 } exit bad }
' "$OUT/year.out" >&2 || fail "a daily line left the sane bounds"
echo "PASS ($(tail -n 1 "$OUT/year.out"))"
