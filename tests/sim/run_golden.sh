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

# One rule set's golden run: the lines, the refusals, a second run, and saving and loading.
golden() {
  local rules=$1 expected=$HERE/$2
  "$SIM" --seed 7 --rules "$rules" --script "$HERE/town.script" >"$OUT/town.out" 2>"$OUT/town.err" ||
    fail "exit code $? on the town script ($rules)"
  if ! diff -u "$expected" "$OUT/town.out" >"$OUT/diff"; then
    head -n 40 "$OUT/diff" >&2
    fail "the daily lines differ from $expected"
  fi
  diff -u "$HERE/town.refusals" "$OUT/town.err" >&2 || fail "the refusals differ from tests/sim/town.refusals ($rules)"

  # The same run again gives the same bytes.
  "$SIM" --seed 7 --rules "$rules" --script "$HERE/town.script" 2>/dev/null | cmp -s - "$OUT/town.out" ||
    fail "a second run differs ($rules)"

  # A saved and loaded city goes on exactly as if it had never stopped: 60 days in one go print
  # the same lines as 30 days, save, load, 30 days; and the whole town script with a save and a
  # load after every "days" line prints the committed lines and refusals.
  sed -n '1,/^days 20/p' "$HERE/town.script" >"$OUT/start.script"
  { cat "$OUT/start.script"; echo "days 60"; } >"$OUT/straight.script"
  { cat "$OUT/start.script"; echo "days 30"; echo "save $OUT/city.sav"; echo "load $OUT/city.sav"; echo "days 30"; } \
    >"$OUT/resumed.script"
  "$SIM" --seed 7 --rules "$rules" --script "$OUT/straight.script" >"$OUT/straight.out" 2>/dev/null ||
    fail "exit code $? on 60 days ($rules)"
  "$SIM" --seed 7 --rules "$rules" --script "$OUT/resumed.script" >"$OUT/resumed.out" 2>"$OUT/resumed.err" ||
    fail "exit code $? on the resumed run ($rules)"
  [ ! -s "$OUT/resumed.err" ] || fail "saving or loading was refused: $(cat "$OUT/resumed.err")"
  diff -u "$OUT/straight.out" "$OUT/resumed.out" >&2 || fail "the loaded city did not go on as the saved one ($rules)"
  awk -v f="$OUT/city.sav" '{ print } /^days/ { print "save " f; print "load " f }' "$HERE/town.script" \
    >"$OUT/saved.script"
  "$SIM" --seed 7 --rules "$rules" --script "$OUT/saved.script" >"$OUT/saved.out" 2>"$OUT/saved.err" ||
    fail "exit code $? with saves ($rules)"
  diff -u "$expected" "$OUT/saved.out" | head -n 40 >&2
  cmp -s "$expected" "$OUT/saved.out" || fail "saving and loading after every day block changed the lines ($rules)"
  diff -u "$HERE/town.refusals" "$OUT/saved.err" >&2 || fail "saving and loading changed the refusals ($rules)"
}
golden classic town.expected
golden growth town-growth.expected

# A city saved by the first version of the saved file (before rule sets) loads and plays on by
# "Klassisch" whatever a new city would use: the same days under either default.
printf 'load %s\ndays 10\n' "$HERE/../fixtures/town-v1.sav" >"$OUT/v1.script"
for rules in growth classic; do
  "$SIM" --seed 7 --rules $rules --script "$OUT/v1.script" >"$OUT/v1-$rules.out" 2>"$OUT/v1.err" ||
    fail "exit code $? on the old save"
  [ ! -s "$OUT/v1.err" ] || fail "the old save was refused: $(cat "$OUT/v1.err")"
done
[ "$(grep -c '^[0-9]' "$OUT/v1-growth.out")" = 10 ] || fail "the old save did not play on"
diff -u "$OUT/v1-classic.out" "$OUT/v1-growth.out" >&2 || fail "the old save did not go on by Klassisch"

# A city saved by format version 2 (before the city's history) goes on exactly as the town it was,
# and its history begins at the load.
{ cat "$HERE/town.script"; echo "days 40"; } >"$OUT/v2-straight.script"
printf 'load %s\ndays 40\nstats %s\n' "$HERE/../fixtures/town-v2.sav" "$OUT/v2.csv" >"$OUT/v2.script"
"$SIM" --seed 7 --rules growth --script "$OUT/v2-straight.script" 2>/dev/null | tail -n 40 >"$OUT/v2-straight.out"
"$SIM" --seed 7 --script "$OUT/v2.script" >"$OUT/v2.out" 2>"$OUT/v2.err" || fail "exit code $? on the version-2 save"
[ ! -s "$OUT/v2.err" ] || fail "the version-2 save was refused: $(cat "$OUT/v2.err")"
tail -n 40 "$OUT/v2.out" | diff -u "$OUT/v2-straight.out" - >&2 || fail "the version-2 save did not go on as the town"
[ "$(wc -l <"$OUT/v2.csv")" -ge 2 ] || fail "the version-2 save kept no history after its load"

# The city's account: after a year of the town, "stats" holds twelve monthly rows; in each the
# income plus the expenses, and the sum of the kinds' columns, are the change of money to the
# cent (the first row's from the simulator's start money, 100000).
for rules in classic growth; do
  { cat "$HERE/town.script"; echo "days 265"; echo "stats $OUT/stats.csv"; } >"$OUT/year.script"
  "$SIM" --seed 7 --rules $rules --script "$OUT/year.script" >/dev/null 2>&1 || fail "exit code $? on a year ($rules)"
  awk -F, -v start=100000 '
    function off(a, b) { return a - b > 0.005 || b - a > 0.005 }
    NR == 1 { for (i = 1; i <= NF; ++i) col[$i] = i; prev = start; next }
    {
      ++rows; change = $col["money"] - prev; prev = $col["money"]; kinds = 0
      for (i = col["expenses"] + 1; i <= NF; ++i) kinds += $i
      if (off($col["income"] + $col["expenses"], change) || off(kinds, change)) { print "row " rows ": " $0; bad = 1 }
      if ($col["month"] != (rows - 1) % 12 + 1) { print "row " rows " is month " $col["month"]; bad = 1 }
    }
    END { if (rows != 12) print rows " rows instead of 12"; exit bad || rows != 12 }' "$OUT/stats.csv" >&2 ||
    fail "the year's account does not add up ($rules)"
done

# Services and money under "Wachstum": the service and economy scripts every 30 days against
# economy.expected (the figures docs/CONTENT.md explains).
for script in services economy_first_town economy_all_services economy_city; do
  echo "== $script"
  "$SIM" --seed 7 --rules growth --script "$HERE/$script.script" 2>&1 | awk 'NR == 1 || NR % 30 == 2'
done >"$OUT/economy.out"
diff -u "$HERE/economy.expected" "$OUT/economy.out" | head -n 40 >&2
cmp -s "$HERE/economy.expected" "$OUT/economy.out" || fail "the service and economy runs differ from economy.expected"

# A town torn down leaves nobody behind: its people wait for new homes or leave, none stays
# counted (or employed) without a building.
{
  sed 's/^days 360$/days 30/' "$HERE/economy_first_town.script"
  for x in 20 24 28 32 36 40; do for y in 45 49 53 57 61 65; do echo "destroy $x $y 8"; done; done
  echo "days 5"
} >"$OUT/razed.script"
"$SIM" --seed 7 --rules growth --script "$OUT/razed.script" >"$OUT/razed.out" 2>/dev/null || fail "exit code $? on the razed town"
tail -n 1 "$OUT/razed.out" | awk '{ exit !($3 == 0 && $5 == 0 && $7 == 0) }' ||
  fail "the razed town still counts people: $(tail -n 1 "$OUT/razed.out")"

# A file that is no saved city is refused and the run goes on with the city it had.
printf 'days 3\nload %s\ndays 2\n' "$HERE/town.script" >"$OUT/refused.script"
"$SIM" --seed 7 --script "$OUT/refused.script" >"$OUT/refused.out" 2>"$OUT/refused.err" || fail "exit code $? on a refused load"
grep -q "refused" "$OUT/refused.err" || fail "a script file was loaded as a city"
[ "$(grep -c '^[0-9]' "$OUT/refused.out")" = 5 ] || fail "the run did not go on after the refused load"

rc=0
"$SIM" --script "$OUT/missing.script" >/dev/null 2>"$OUT/missing.err" || rc=$?
[ "$rc" = 2 ] || fail "exit code $rc for a missing script"
grep -q "missing.script" "$OUT/missing.err" || fail "no message names the missing script"

# Rule sets this version does not know: on the command line and in a script.
rc=0
"$SIM" --rules wild --script /dev/null >/dev/null 2>"$OUT/rules.err" || rc=$?
[ "$rc" = 2 ] || fail "exit code $rc for unknown rules on the command line"
printf 'days 1\nrules wild\n' >"$OUT/rules.script"
rc=0
"$SIM" --script "$OUT/rules.script" >/dev/null 2>"$OUT/rules.err" || rc=$?
[ "$rc" = 2 ] && grep -q "line 2" "$OUT/rules.err" || fail "unknown rules in a script: exit code $rc, $(cat "$OUT/rules.err")"

# Replays: a good one plays the same twice, its refusals on standard error as a script's; a
# replay of another version, a truncated one, one naming an unknown plugin and a missing file
# end with exit code 2 and one line saying why.
printf 'vallmora-replay 1\nmap data/maps/128/001r.png\nseed 7\nrules growth\n0 speed 4\n' >"$OUT/good.replay"
printf '10 build res_wohnhaus 25 65\n10 build pub_wasserturm 26 62\n10 build res_wohnhaus 62 60\n2000 end\n' >>"$OUT/good.replay"
"$SIM" --replay "$OUT/good.replay" >"$OUT/replay1.out" 2>"$OUT/replay1.err" || fail "exit code $? on a good replay"
"$SIM" --replay "$OUT/good.replay" 2>/dev/null | cmp -s - "$OUT/replay1.out" || fail "a replay played twice differs"
[ "$(grep -c '^[0-9]' "$OUT/replay1.out")" -ge 5 ] || fail "the replay printed no days: $(cat "$OUT/replay1.out")"
grep -q "^build res_wohnhaus 62 60: refused, Nicht auf Wasser" "$OUT/replay1.err" ||
  fail "the replay's refusal was not printed: $(cat "$OUT/replay1.err")"
head -n 6 "$OUT/good.replay" >"$OUT/truncated.replay"
sed '1s/.*/vallmora-replay 9/' "$OUT/good.replay" >"$OUT/version.replay"
sed 's/pub_wasserturm/pub_unbekannt/' "$OUT/good.replay" >"$OUT/unknown.replay"
for bad in truncated:truncated version:"no replay of this version" unknown:pub_unbekannt missing:"could not be read"; do
  rc=0
  "$SIM" --replay "$OUT/${bad%%:*}.replay" >/dev/null 2>"$OUT/bad.err" || rc=$?
  [ "$rc" = 2 ] && [ "$(wc -l <"$OUT/bad.err")" = 1 ] && grep -q "${bad#*:}" "$OUT/bad.err" ||
    fail "replay ${bad%%:*}: exit code $rc, $(cat "$OUT/bad.err")"
done

printf 'days 1\nbuild res_wohnhaus ten 3\n' >"$OUT/bad.script"
rc=0
"$SIM" --script "$OUT/bad.script" >"$OUT/bad.out" 2>"$OUT/bad.err" || rc=$?
[ "$rc" = 2 ] || fail "exit code $rc for an unreadable line"
grep -q "line 2" "$OUT/bad.err" || fail "the message does not name line 2: $(cat "$OUT/bad.err")"
[ "$(wc -l <"$OUT/bad.out")" = 2 ] || fail "the lines before the bad one were not run"
echo PASS
