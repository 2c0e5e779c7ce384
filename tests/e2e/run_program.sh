#!/usr/bin/env bash
# Runs the real program under a virtual display on a test pack that walks the
# screens and ends by itself; then runs it once more with a script error.
set -euo pipefail
source "$(dirname "$0")/lib/program-folder.sh"
stage_program "$1" "$1/e2e/game.pak"

config() {
    cat > "$work/game/config.conf" <<XML
<?xml version="1.0" encoding="UTF-8" ?>
<root>
    <string_values>
        <section name="common">
            <value name="caption" data="E2E" />
            <value name="version" data="1" />
        </section>
        <section name="e2e">
            <value name="mode" data="$1" />
        </section>
    </string_values>
    <number_values>
        <section name="common">
            <value name="screen_height" data="240.000000" />
            <value name="screen_width" data="320.000000" />
            <value name="windowed" data="1.000000" />
        </section>
    </number_values>
</root>
XML
}
config walk
# The timeouts are for a hang: a sanitizer build on a loaded machine is slow.
timeout 600 "$root/tools/with-display" "$work/game/brindlewick" > "$work/out" 2> "$work/err" || fail "the walk exited with $?: $(cat "$work/err")"
[ -s "$work/game/program.log" ] || fail "no program.log"
grep -q '<value name="result" data="walked" />' "$work/game/config.conf" || fail "result not saved: $(cat "$work/game/config.conf")"
grep -q '<value name="visits" data="2.000000" />' "$work/game/config.conf" || fail "visits not saved"
[ ! -e "$work/home/Brindlewick/config.conf" ] || fail "a per-user configuration was created"
[ ! -s "$work/out" ] || fail "the program wrote to standard output: $(cat "$work/out")"

config error
cp "$work/game/config.conf" "$work/before"
status=0
timeout 600 "$root/tools/with-display" "$work/game/brindlewick" > "$work/out" 2> "$work/err" || status=$?
[ "$status" -eq 2 ] || fail "a script error exited with $status, not 2"
grep -q "deliberate failure in Update" "$work/err" || fail "the error text is not on standard error: $(cat "$work/err")"
cmp -s "$work/before" "$work/game/config.conf" || fail "the configuration changed after a script error"
echo "e2e: 2 passed, 0 failed"
