#!/usr/bin/env bash
# Installs the build with cmake --install into a scratch prefix and checks
# that the program, "game.pak" and the default "config.conf" lie together
# there; then, with the test pack and its walk in place of the demo's, makes
# the whole prefix read-only and plays from it: the run ends well, the
# installed files stay as they were and the settings land in the per-user
# folder, with the log and the capture.
set -euo pipefail
source "$(dirname "$0")/lib/program-folder.sh"
build=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
mkdir -p "$work/home"
export XDG_DATA_HOME="$work/home"

cmake --install "$build" --prefix "$work/prefix" > "$work/install.log" 2>&1 ||
    fail "cmake --install failed: $(cat "$work/install.log")"
game=$work/prefix/$(sed -n 's/^BW_INSTALL_DIR:[A-Z]*=//p' "$build/CMakeCache.txt")
[ -x "$game/brindlewick" ] || fail "no program in $game: $(cd "$work/prefix" && find .)"
cmp -s "$game/game.pak" "$build/game/game.pak" || fail "the installed game.pak is not the demo's pack"
cmp -s "$game/config.conf" "$root/demo/config.conf" || fail "the installed config.conf is not the demo's"

cp "$build/e2e/game.pak" "$game/game.pak"
test_pack_config walk > "$game/config.conf"
installed() { (cd "$work/prefix" && find . -type f -exec md5sum {} + | sort); }
installed > "$work/before"
status=0
play_read_only "$work/prefix" "$game/brindlewick" || status=$?
[ "$status" -eq 0 ] || fail "the walk from the read-only install exited with $status: $(cat "$work/err")"
installed | cmp -s "$work/before" - || fail "the read-only install changed: $(installed | diff "$work/before" -)"
check_kept_per_user "$work/home/Brindlewick"
echo "e2e: the installed program played from a read-only prefix and kept its files per user"
