#!/usr/bin/env bash
# Plays the whole demo under a virtual display: its own scripts, wrapped by
# the test pack's plan (tests/e2e/demo-test/scripts/autoplay.lua), walk every
# screen with keys and emulated clicks, capture the gallery and quit through
# the dialog; a second start must bring the saved settings back, and a
# script error must end the game without saving.
set -euo pipefail
source "$(dirname "$0")/lib/program-folder.sh"
stage_program "$1" "$1/e2e/demo-test/game.pak"
game=$work/game

# The demo's own configuration with the plan's name in it.
configure() { "$root/tests/e2e/lib/autoplay-config" "$1" > "$game/config.conf"; }

# Sets the plan of a configuration saved by an earlier run, keeping the rest.
replan() {
    sed -i "s|<value name=\"mode\" data=\"[^\"]*\" />|<value name=\"mode\" data=\"$1\" />|" "$game/config.conf"
    sed -i '/<value name="\(step\|frames\|waited\|up\|clicking\|catching\|moved\|mx\|my\|captured\)"/d' "$game/config.conf"
}

# The timeout is for a hang: a sanitizer build on a loaded machine takes minutes.
play() {
    rm -f "$game/last_surface.bmp" "$game/program.log"
    timeout 900 "$root/tools/with-display" "$game/brindlewick" > "$work/out" 2> "$work/err"
}

expect_value() {
    grep -q "<value name=\"$1\" data=\"$2\" />" "$game/config.conf" ||
        fail "$3: $1 is not $2 in the saved configuration: $(cat "$game/config.conf")"
}

# pixels.py checks "x,y=RRGGBB" (within a few levels) or "x,y!=RRGGBB" on the capture.
pixels() {
    python3 "$root/tests/e2e/pixels.py" "$game/last_surface.bmp" "$@" || fail "the capture differs"
}

configure walk
play || fail "the walk exited with $?: $(cat "$work/err")"
grep -q "^Engine: " "$game/program.log" || fail "program.log lacks the engine's line: $(cat "$game/program.log")"
[ ! -s "$work/out" ] || fail "the demo wrote to standard output: $(cat "$work/out")"
for line in "menu: the bee is caught" "menu: asking to quit" "menu: staying" "menu: options" "options: defaults again" "menu: credits" \
    "menu: gallery" "gallery: photo taken" "confirm: quitting"; do
    grep -qx "$line" "$work/err" || fail "'$line' is not on standard error: $(cat "$work/err")"
done
expect_value result walked walk
expect_value captured 1.000000 walk
expect_value volume 60.000000 walk
expect_value sound 0.000000 walk
expect_value overlay 2.000000 walk
expect_value name Test walk
[ ! -e "$work/home/Brindlewick/config.conf" ] || fail "a per-user configuration was created"
# Every function of the host's table, as the running program noted it,
# was called by the demo's scripts.
section() { sed -n "/<section name=\"$1\">/,/<\/section>/p" "$game/config.conf"; }
names=$(section autoplay_host | sed -n 's|.*<value name="\([A-Za-z]*\)" data=.*|\1|p')
[ "$(echo "$names" | wc -l)" -eq 53 ] || fail "the host's table does not hold 53 functions: $names"
used=$(section autoplay_used)
for name in $names; do
    grep -q "<value name=\"$name\" data=\"1.000000\" />" <<< "$used" || fail "the walk never called $name"
done
# The gallery: the title's gold glyph and its dark outline; the masked
# sprite's window shows the landscape, its transparent corner the panel
# below; the photo's thumbnail holds the empty sparks panel of that moment.
pixels "35,43=EACE93/40" "32,43=181118/30" "210,204!=1F2A40" "148,142=1F2A40" "515,482=1F2A40"

replan restore
play || fail "the second start exited with $?: $(cat "$work/err")"
expect_value result restored restore
# The volume bar filled to 60 of 100, and the overlay's text in gold.
pixels "566,154=5A8FC8" "606,154=0E1320" "6,12=FFD75A/30"

replan error
cp "$game/config.conf" "$work/before"
status=0
play || status=$?
[ "$status" -eq 2 ] || fail "a script error exited with $status, not 2"
grep -q "deliberate failure in the demo's menu" "$work/err" || fail "the error is not on standard error: $(cat "$work/err")"
cmp -s "$work/before" "$game/config.conf" || fail "the configuration changed after a script error"
echo "e2e: the demo walked, restored its settings and stopped on an error"
