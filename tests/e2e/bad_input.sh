#!/usr/bin/env bash
# Bad input, tried for real: the demo's test pack, with one file missing,
# cut short or replaced by garbage (or its pack or configuration broken), is
# played by the walk plan under a virtual display. Each case states how the
# run must end: the walk done (exit 0) or the game stopped with a script error
# (exit 2) or, for a pack the engine refuses, the menu's missing "Init",
# after a line that names the cause (the script not found and where it was
# looked for, or its compile or runtime error). What each run showed (exit
# status, stderr, program.log) is written to BUILD/e2e/bad_input.txt; the
# README's "Limits" section lists it.
set -euo pipefail
build=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
stage=$build/packs/e2e_demo_pack
[ -d "$stage" ] || { echo "bad_input: no staged demo test pack in $stage" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
report=$build/e2e/bad_input.txt
password=$(head -n 1 "$root/cmake/pack-password")

# Bytes no decoder or parser takes for its own.
garbage() { head -c "${2:-3000}" /dev/urandom >"$1"; }
# The first half of the file.
truncate_half() { truncate -s $(($(stat -c %s "$1") / 2)) "$1"; }
# Elements nested 400,000 deep, with closing tags inside CDATA between them.
hidden_nesting() {
    local piece
    piece="$(printf '<a>%.0s' {1..200})<![CDATA[>$(printf '</x>%.0s' {1..201})]]>"
    { printf '<root>'; for _ in {1..2000}; do printf '%s' "$piece"; done; } >"$1"
}

# Spoils the entry NAME of the pack: "flip" turns a byte amid its data, "claim"
# makes both its headers state 2 GB.
spoil_entry() {
    python3 - "$1" "$2" "$3" <<'PY'
import struct, sys
path, name, how = sys.argv[1], sys.argv[2].encode(), sys.argv[3]
data = bytearray(open(path, 'rb').read())
central = data.find(b'PK\x01\x02')
while data[central + 46:central + 46 + struct.unpack_from('<H', data, central + 28)[0]] != name:
    central = data.find(b'PK\x01\x02', central + 46)
local = struct.unpack_from('<I', data, central + 42)[0]
if how == 'flip':
    start = local + 30 + sum(struct.unpack_from('<HH', data, local + 26))
    data[start + struct.unpack_from('<I', data, central + 20)[0] // 2] ^= 0x5A
else:
    struct.pack_into('<I', data, local + 22, 0x80000000)
    struct.pack_into('<I', data, central + 24, 0x80000000)
open(path, 'wb').write(data)
PY
}

# Each case: name, expected end (walked / error / defaults), what is done to the pack folder
# ($src) or the game folder ($game), given as a shell snippet.
cases=(
    "pack-missing|error|rm \$game/game.pak"
    "pack-garbage|error|garbage \$game/game.pak"
    "pack-truncated|error|truncate_half \$game/game.pak"
    "pack-entry-corrupt|error|spoil_entry \$game/game.pak scripts/menu.lua flip"
    "pack-entry-claims-2gb|error|spoil_entry \$game/game.pak scripts/menu.lua claim"
    "script-missing|error|rm \$src/scripts/menu.lua"
    "script-syntax-error|error|echo 'function Init(host' >\$src/scripts/menu.lua"
    "script-garbage|error|garbage \$src/demo/scripts/menu.lua"
    "script-truncated|error|truncate_half \$src/demo/scripts/options.lua"
    "image-missing|walked|rm \$src/images/shade.png \$src/images/title.png"
    "image-garbage|walked|garbage \$src/images/particle.png; garbage \$src/images/title.png"
    "image-truncated|walked|truncate_half \$src/images/title.png; truncate_half \$src/images/backdrop.png"
    "gfxfont-missing|walked|rm \$src/images/font2.fnt"
    "gfxfont-garbage|walked|garbage \$src/images/font2.fnt"
    "gfxfont-truncated|walked|truncate_half \$src/images/font2.fnt"
    "xmlfont-missing|walked|rm \$src/images/title.xml"
    "xmlfont-garbage|walked|garbage \$src/images/title.xml"
    "xmlfont-truncated|walked|truncate_half \$src/images/title.xml"
    "sound-missing|walked|rm \$src/sounds/blip.wav"
    "sound-garbage|walked|garbage \$src/sounds/blip.wav"
    "sound-truncated|walked|truncate_half \$src/sounds/blip.wav"
    "preset-missing|walked|rm \$src/particles/sparks.psi \$src/particles/embers.psi"
    "preset-garbage|walked|garbage \$src/particles/sparks.psi 128; garbage \$src/particles/embers.psi 128"
    "preset-truncated|walked|truncate_half \$src/particles/sparks.psi; truncate_half \$src/particles/embers.psi"
    "credits-missing|walked|rm \$src/text/credits.txt"
    "credits-garbage|walked|garbage \$src/text/credits.txt"
    "config-not-xml|defaults|garbage \$game/config.conf 500"
    "config-truncated|defaults|truncate_half \$game/config.conf"
    "config-nested-deeply|defaults|hidden_nesting \$game/config.conf"
)

# The demo's configuration with the walk plan in it.
configure() { "$root/tests/e2e/lib/autoplay-config" walk >"$1/config.conf"; }

# Runs one case in its own folder; writes its findings into it.
run_case() {
    local name=$1 expected=$2 mutation=$3
    local dir=$work/$name src game
    src=$dir/src
    game=$dir/game
    mkdir -p "$game" "$dir/home"
    cp -r "$stage" "$src"
    cp "$build/game/brindlewick" "$game/"
    configure "$game"
    # A change to the pack's files comes before the zip, one to the game folder after it.
    [[ $mutation == *'$src'* ]] && eval "$mutation"
    (cd "$src" && zip -q -X -r -P "$password" "$game/game.pak" .)
    [[ $mutation == *'$src'* ]] || eval "$mutation"
    cp "$game/config.conf" "$dir/broken.conf"
    local status=0
    # The timeout is for a hang: a sanitizer build on a loaded machine takes minutes.
    XDG_DATA_HOME=$dir/home timeout 900 "$root/tools/with-display" "$game/brindlewick" \
        >"$dir/stdout" 2>"$dir/stderr" || status=$?
    local result
    result=$(sed -n 's|.*<value name="result" data="\([^"]*\)" />.*|\1|p' "$game/config.conf" 2>/dev/null | head -1)
    # The demo's own lines ("menu: options") are left out.
    # Text all the same: a message may quote bytes of a garbage file.
    grep -avE "^(menu|options|credits|gallery|confirm): " "$dir/stderr" | grep -av "^$" | head -4 >"$dir/errors" || true
    grep -avE "^Engine: " "$game/program.log" 2>/dev/null | sort | uniq -c | sort -rn | head -4 >"$dir/log" || true
    {
        echo "== $name: exit $status, result '${result:-none}'"
        sed 's/^/   stderr: /' "$dir/errors"
        sed 's/^/   log: /' "$dir/log"
        [ -e "$game/config.conf.unreadable" ] && echo "   the unreadable configuration kept as config.conf.unreadable"
    } >"$dir/summary"
    local ok=1
    case $expected in
    walked) [ "$status" -eq 0 ] && [ "$result" = walked ] || ok=0 ;;
    # The fatal report follows a line that says why the script ran nothing,
    # and program.log keeps it.
    error) [ "$status" -eq 2 ] && grep -aq "^script: " "$dir/stderr" && grep -aq "^fatal: " "$game/program.log" || ok=0 ;;
    # The game starts on its defaults (so without the plan) and saves over
    # the broken file, which it kept as config.conf.unreadable.
    defaults) [ "$status" -eq 0 ] && [ "$result" = "no plan named " ] && cmp -s "$dir/broken.conf" "$game/config.conf.unreadable" || ok=0 ;;
    esac
    # An entry that is there but cannot be read says so, with libzip's reason.
    if [[ $name == pack-entry-* ]]; then
        grep -aq "^script: scripts.menu.lua: in .*game.pak but cannot be read: ." "$dir/stderr" &&
            ! grep -aq "No error" "$game/program.log" || ok=0
    fi
    [ ! -s "$dir/stdout" ] || ok=0
    # A file that fails to load again and again is named once in the log.
    [ -z "$(grep -E "^(Texture|Effect|Resource)_Load: " "$game/program.log" 2>/dev/null | sort | uniq -d)" ] || ok=0
    grep -qE "ERROR: (Address|Leak)Sanitizer|runtime error:" "$dir/stderr" && ok=0
    [ "$ok" -eq 1 ] || { echo "   FAILED: expected $expected" >>"$dir/summary"; head -40 "$dir/stderr" >>"$dir/summary"; }
    return 0
}

# Four at a time, each on a display of its own.
printf '%s\n' "${cases[@]}" >"$work/cases"
export -f run_case configure garbage truncate_half hidden_nesting spoil_entry
export work stage build root password
seq "${#cases[@]}" | xargs -P 4 -I{} bash -c 'IFS="|" read -r n e m < <(sed -n "$1p" "$work/cases"); run_case "$n" "$e" "$m"' _ {}

: >"$report"
failed=0
for entry in "${cases[@]}"; do
    name=${entry%%|*}
    cat "$work/$name/summary" >>"$report"
    grep -q "FAILED" "$work/$name/summary" && failed=$((failed + 1))
done
cat "$report" >&2
echo "bad_input: $((${#cases[@]} - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
