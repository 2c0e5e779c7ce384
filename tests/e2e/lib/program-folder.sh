# Sourced by the end-to-end runs: a fresh program folder in $work/game holding
# the built program and the given pack, an empty per-user folder, and fail().
# Usage: stage_program BUILD PACK
stage_program() {
    build=$1
    root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    mkdir -p "$work/game" "$work/home"
    cp "$build/game/brindlewick" "$work/game/"
    cp "$2" "$work/game/game.pak"
    export XDG_DATA_HOME="$work/home"
}

fail() { echo "e2e: $*" >&2; exit 1; }
