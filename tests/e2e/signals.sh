#!/usr/bin/env bash
# Ctrl+C (SIGINT), a plain kill (SIGTERM) and a closed terminal (SIGHUP) end
# the real program as its window's close button does: status 0, the settings
# of the run saved. Each signal is sent once the test pack's "wait" plan says
# that it runs, with its settings changed.
set -euo pipefail
source "$(dirname "$0")/lib/program-folder.sh"
stage_program "$1" "$1/e2e/game.pak"

for signal in INT TERM HUP; do
    test_pack_config wait > "$work/game/config.conf"
    # Emptied here: the run's own redirection may come after the first look.
    rm -f "$work/pid"
    : > "$work/err"
    # As from a terminal: no signal ignored, whatever this shell ignores.
    "$root/tools/with-display" sh -c 'echo $$ > "$0"; exec env --default-signal "$1"' "$work/pid" \
        "$work/game/brindlewick" > "$work/out" 2> "$work/err" &
    job=$!
    # The timeout is for a hang: a sanitizer build on a loaded machine is slow.
    deadline=$((SECONDS + 600))
    until [ -s "$work/pid" ] && grep -q "^e2e: waiting" "$work/err"; do
        kill -0 "$job" 2>/dev/null || fail "SIG$signal: the program ended before it was sent: $(cat "$work/err")"
        [ "$SECONDS" -lt "$deadline" ] || { kill -KILL "$(cat "$work/pid")"; fail "SIG$signal: no sign of the run"; }
        sleep 0.1
    done
    kill -s "$signal" "$(cat "$work/pid")"
    status=0
    wait "$job" || status=$?
    [ "$status" -eq 0 ] || fail "SIG$signal ended the program with status $status: $(cat "$work/err")"
    grep -q '<value name="result" data="waited" />' "$work/game/config.conf" ||
        fail "SIG$signal lost the settings: $(cat "$work/game/config.conf")"
done
echo "e2e: 3 passed, 0 failed"
