#!/usr/bin/env bash
# Runs the real program under a virtual display on a test pack that walks the
# screens and ends by itself; then once more from a read-only program folder,
# and once with a script error.
set -euo pipefail
source "$(dirname "$0")/lib/program-folder.sh"
stage_program "$1" "$1/e2e/game.pak"

config() { test_pack_config "$1" > "$work/game/config.conf"; }
config walk
# The timeouts are for a hang: a sanitizer build on a loaded machine is slow.
timeout 600 "$root/tools/with-display" "$work/game/brindlewick" > "$work/out" 2> "$work/err" || fail "the walk exited with $?: $(cat "$work/err")"
[ -s "$work/game/program.log" ] || fail "no program.log"
grep -q '<value name="result" data="walked" />' "$work/game/config.conf" || fail "result not saved: $(cat "$work/game/config.conf")"
grep -q '<value name="visits" data="2.000000" />' "$work/game/config.conf" || fail "visits not saved"
[ ! -e "$work/home/Brindlewick/config.conf" ] || fail "a per-user configuration was created"
[ ! -s "$work/out" ] || fail "the program wrote to standard output: $(cat "$work/out")"

# A read-only install: the program folder cannot be written (for root too,
# which loses the capability to write past permissions), so the settings go to
# the per-user folder and the program folder's file stays as it was.
config walk
cp "$work/game/config.conf" "$work/before"
status=0
play_read_only "$work/game" "$work/game/brindlewick" || status=$?
[ "$status" -eq 0 ] || fail "the read-only walk exited with $status: $(cat "$work/err")"
cmp -s "$work/before" "$work/game/config.conf" || fail "the read-only program folder's configuration changed"
grep -q '<value name="result" data="walked" />' "$work/home/Brindlewick/config.conf" ||
    fail "the settings were not saved in the per-user folder: $(cat "$work/err")"
grep -q "saved $work/home/Brindlewick/config.conf instead" "$work/err" || fail "the fallback is not told: $(cat "$work/err")"
rm "$work/home/Brindlewick/config.conf"

config error
cp "$work/game/config.conf" "$work/before"
status=0
timeout 600 "$root/tools/with-display" "$work/game/brindlewick" > "$work/out" 2> "$work/err" || status=$?
[ "$status" -eq 2 ] || fail "a script error exited with $status, not 2"
grep -q "deliberate failure in Update" "$work/err" || fail "the error text is not on standard error: $(cat "$work/err")"
cmp -s "$work/before" "$work/game/config.conf" || fail "the configuration changed after a script error"
echo "e2e: 3 passed, 0 failed"
