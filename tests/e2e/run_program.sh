#!/usr/bin/env bash
# Runs the real program under a virtual display on a test pack that walks the
# screens and ends by itself; then once more from a read-only program folder,
# there once with a broken pack, with script errors, and without a locale.
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
grep -q '<value name="captured" data="yes" />' "$work/game/config.conf" || fail "GetLastSurface gave nothing"
[ -s "$work/game/last_surface.bmp" ] || fail "no capture beside the program"
[ -z "$(ls -A "$work/home/Brindlewick")" ] || fail "the per-user folder got files: $(ls -A "$work/home/Brindlewick")"
[ ! -s "$work/out" ] || fail "the program wrote to standard output: $(cat "$work/out")"
! grep -q "^log: " "$work/err" || fail "a log beside the program was told: $(cat "$work/err")"

# A read-only install: the program folder cannot be written (for root too,
# which loses the capability to write past permissions), so the log, the
# capture and the settings go to the per-user folder and the program folder
# stays as it was.
config walk
rm "$work/game/program.log" "$work/game/last_surface.bmp"
folder() { (cd "$work/game" && find . -type f -exec md5sum {} + | sort); }
folder > "$work/before"
status=0
play_read_only "$work/game" "$work/game/brindlewick" || status=$?
[ "$status" -eq 0 ] || fail "the read-only walk exited with $status: $(cat "$work/err")"
folder | cmp -s "$work/before" - || fail "the read-only program folder changed: $(folder | diff "$work/before" -)"
check_kept_per_user "$work/home/Brindlewick"
rm "$work/home/Brindlewick/"*

# A pack the engine refuses, from a read-only folder: the report sends the
# player to the log where it is.
mv "$work/game/game.pak" "$work/pack"
echo "not a zip" > "$work/game/game.pak"
status=0
play_read_only "$work/game" "$work/game/brindlewick" || status=$?
[ "$status" -eq 2 ] || fail "a broken pack exited with $status, not 2: $(cat "$work/err")"
grep -qF "(game.pak could not be opened; $work/home/Brindlewick/program.log says why)" "$work/err" ||
    fail "the report does not name the log's place: $(cat "$work/err")"
grep -q "^Resource_AttachPack: cannot open" "$work/home/Brindlewick/program.log" || fail "the log does not say why"
grep -q "^fatal: " "$work/home/Brindlewick/program.log" || fail "the fatal report is not in the log"
mv "$work/pack" "$work/game/game.pak"
rm "$work/home/Brindlewick/"*

# A fatal report ends the run with status 2 and is kept in program.log too:
# an error in Update, in a modal screen, and an overflow of the C stack.
for failure in "error|deliberate failure in Update" "modal|deliberate failure in a modal screen" \
    "stack|C stack overflow"; do
    mode=${failure%%|*}
    text=${failure#*|}
    config "$mode"
    cp "$work/game/config.conf" "$work/before"
    status=0
    timeout 600 "$root/tools/with-display" "$work/game/brindlewick" > "$work/out" 2> "$work/err" || status=$?
    [ "$status" -eq 2 ] || fail "$mode: the script error exited with $status, not 2: $(cat "$work/err")"
    grep -q "$text" "$work/err" || fail "$mode: the error text is not on standard error: $(cat "$work/err")"
    grep -q "^fatal: .*$text" "$work/game/program.log" ||
        fail "$mode: the report is not in program.log: $(cat "$work/game/program.log")"
    cmp -s "$work/before" "$work/game/config.conf" || fail "$mode: the configuration changed after a script error"
done

# Without a locale (a service, cron, env -i: ASCII), the text of the
# configuration and a script's UTF-8 string come back byte for byte.
# The test pack's configuration with non-ASCII text in values and names.
utf8_config() {
    test_pack_config utf8 | sed -e 's|data="E2E"|data="Spiel – Ü"|' -e 's|\(name="version" data="\)1"|\11 «β»"|' \
        -e '0,/<section name="common">/s||<section name="Größe">\n            <value name="Straße" data="東京 ✓" />\n        </section>\n        &|'
}
utf8_config > "$work/game/config.conf"
utf8_config | sed 's|^\( *\)<value name="mode" data="utf8" />|&\n\1<value name="name" data="Jürgen 日" />|' > "$work/expected"
status=0
"$root/tools/with-display" bash -c 'exec env -i DISPLAY="$DISPLAY" XDG_DATA_HOME="$XDG_DATA_HOME" \
    SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1 BRINDLEWICK_NO_DIALOG=1 \
    ${ASAN_OPTIONS:+ASAN_OPTIONS="$ASAN_OPTIONS"} ${UBSAN_OPTIONS:+UBSAN_OPTIONS="$UBSAN_OPTIONS"} "$1"' \
    _ "$work/game/brindlewick" > "$work/out" 2> "$work/err" || status=$?
[ "$status" -eq 0 ] || fail "the run without a locale exited with $status: $(cat "$work/err")"
cmp -s "$work/expected" "$work/game/config.conf" ||
    fail "the run without a locale changed the configuration's text: $(diff "$work/expected" "$work/game/config.conf")"
echo "e2e: 7 passed, 0 failed"
