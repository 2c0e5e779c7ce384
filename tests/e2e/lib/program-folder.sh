# Sourced by the end-to-end runs: a fresh program folder in $work/game holding
# the built program and the given pack, an empty per-user folder, the test
# pack's configuration, a run from a read-only folder, and fail().
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
