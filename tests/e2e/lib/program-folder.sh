# Sourced by the end-to-end runs: a fresh program folder in $work/game holding
# the built program and the given pack, an empty per-user folder, the test
# pack's configuration, a run from a read-only folder and what it must keep,
# and fail().
# Usage: stage_program BUILD PACK
stage_program() {
    build=$1
    root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
    work=$(mktemp -d)
    # A run stopped inside play_read_only leaves the folder read-only.
    trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
    mkdir -p "$work/game" "$work/home"
    cp "$build/game/brindlewick" "$work/game/"
    cp "$2" "$work/game/game.pak"
    export XDG_DATA_HOME="$work/home"
}

fail() { echo "e2e: $*" >&2; exit 1; }

# The configuration of the test pack (tests/e2e/pack/) with its plan
# "e2e"/"mode" MODE: a small window, on standard output.
test_pack_config() {
    cat <<XML
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

# Plays PROGRAM once with FOLDER and all below it read-only, for root too
# (which loses the capability to write past permissions); its output in
# $work/out and $work/err. Returns the program's exit status.
play_read_only() {
    local folder=$1 program=$2 status=0
    local unprivileged=()
    [ "$(id -u)" -eq 0 ] && unprivileged=(setpriv --inh-caps=-dac_override --bounding-set=-dac_override --)
    chmod -R a-w "$folder"
    # The timeout is for a hang: a sanitizer build on a loaded machine takes minutes.
    timeout 600 "$root/tools/with-display" "${unprivileged[@]}" "$program" > "$work/out" 2> "$work/err" || status=$?
    chmod -R u+w "$folder"
    return "$status"
}

# After a walk of the test pack from a read-only folder: the log, the capture
# and the settings are in the per-user folder USER, and standard error names
# the log's place once and then where the settings went, with no failure.
check_kept_per_user() {
    local user=$1
    grep -q "^Engine: " "$user/program.log" || fail "no program.log in $user: $(cat "$work/err")"
    [ -s "$user/last_surface.bmp" ] || fail "no capture in $user: $(ls -A "$user")"
    grep -q '<value name="result" data="walked" />' "$user/config.conf" ||
        fail "the settings were not saved in the per-user folder: $(cat "$work/err")"
    grep -q '<value name="captured" data="yes" />' "$user/config.conf" || fail "GetLastSurface gave nothing"
    [ "$(grep -c "^log: writing $user/program.log " "$work/err")" -eq 1 ] || fail "the log's place is not told once: $(cat "$work/err")"
    [ "$(grep -c "^config: " "$work/err")" -eq 1 ] && grep -q "^config: settings saved in $user/config.conf " "$work/err" ||
        fail "the save is not told in one line: $(cat "$work/err")"
}
