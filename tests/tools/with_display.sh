#!/usr/bin/env bash
# tools/with-display: every run gets a virtual display of its own, whatever
# DISPLAY says and also inside another run, sees nothing else of a desktop,
# passes its command's input and status through, and leaves no server and no
# file behind: when the command ends, fails, or the run is stopped.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
with_display=$root/tools/with-display
fail() { echo "with_display: $*" >&2; exit 1; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# The runs' own temporary folder, empty again after each.
export TMPDIR=$scratch/tmp
mkdir "$TMPDIR"
left() { [ -z "$(ls -A "$TMPDIR")" ] || fail "$1 left in TMPDIR: $(ls -A "$TMPDIR")"; }

# The Xvfb beside a run's command: a child of the same tools/with-display.
xvfb_beside() {
    local stat pid comm state parent rest
    for stat in /proc/[0-9]*/stat; do
        read -r pid comm state parent rest 2>/dev/null <"$stat" || continue
        [ "$comm" = "(Xvfb)" ] && [ "$parent" = "$1" ] && echo "$pid"
    done
    return 0
}
export -f xvfb_beside
# What a run's command sees: its display, its server and the desktop's variables.
probe='echo "$DISPLAY $(xvfb_beside $PPID) ${BW_VIRTUAL_DISPLAY:-none} ${WAYLAND_DISPLAY:-none} ${XAUTHORITY:-none} ${DBUS_SESSION_BUS_ADDRESS:-none} ${SDL_VIDEODRIVER:-none}"'
gone() { ! kill -0 "$1" 2>/dev/null || fail "$2: its Xvfb ($1) still runs"; }

# A desktop's session: the display of the user's own X server and the rest.
export DISPLAY=:4242 WAYLAND_DISPLAY=wayland-0 XAUTHORITY=$scratch/user-cookies \
    DBUS_SESSION_BUS_ADDRESS=unix:path=$scratch/user-bus SDL_VIDEODRIVER=wayland
"$with_display" bash -c "$probe" >"$scratch/seen"
read -r display server marker wayland cookies bus driver <"$scratch/seen"
[[ $display =~ ^:[0-9]+$ ]] || fail "the run had no display of its own: '$display'"
[ "$display" != :4242 ] || fail "the run was put on the current display"
[ -n "$server" ] || fail "no Xvfb ran beside the command"
[ "$marker" = "$display" ] || fail "BW_VIRTUAL_DISPLAY is '$marker', not the run's $display"
[ "$wayland" = none ] || fail "the desktop's Wayland display reached the run: $wayland"
[ "$driver" = x11 ] || fail "SDL may choose the video driver '$driver'"
[ "$cookies" != "$XAUTHORITY" ] || fail "the user's X cookies reached the run"
[ "$bus" != "$DBUS_SESSION_BUS_ADDRESS" ] || fail "the desktop's session bus reached the run"
gone "$server" "a finished run"
left "a finished run"

# Side by side, and one inside the other: three displays. Each run stays
# until all three have told theirs, so that all three are live at once.
all_told=$(printf 'for _ in $(seq 1200); do [ "$(cat %q %q | wc -l)" -ge 3 ] && break; sleep 0.1; done' \
    "$scratch/nested" "$scratch/beside")
: >"$scratch/nested"
: >"$scratch/beside"
inner=$(printf '%q ' "$with_display" bash -c "$probe; $all_told")
"$with_display" bash -c "$probe; $inner" >>"$scratch/nested" &
"$with_display" bash -c "$probe; $all_told" >>"$scratch/beside"
wait $!
displays=$(cat "$scratch/nested" "$scratch/beside" | cut -d' ' -f1 | sort -u | wc -l)
[ "$displays" -eq 3 ] || fail "runs shared a display: $(cat "$scratch/nested" "$scratch/beside")"
left "nested runs"

# Input and status pass through; a failing command cleans up as well.
[ "$(echo hello | "$with_display" cat)" = hello ] || fail "standard input did not reach the command"
status=0
"$with_display" bash -c 'exit 7' || status=$?
[ "$status" -eq 7 ] || fail "a command's status 7 came back as $status"
left "a failing run"

# Ctrl+C reaches the command, although a shell's background job ignores it.
ignored=$("$with_display" awk '/^SigIgn:/ { print $2 }' /proc/self/status)
(( (16#$ignored & 2) == 0 )) || fail "the command ignores SIGINT (SigIgn $ignored)"

# Stopped while its command runs: the command, the server and the folder go.
"$with_display" bash -c "$probe; echo \$\$; exec sleep 600" >"$scratch/stopped" &
runner=$!
for _ in $(seq 600); do [ "$(wc -l <"$scratch/stopped")" -eq 2 ] && break; sleep 0.1; done
[ "$(wc -l <"$scratch/stopped")" -eq 2 ] || fail "the command did not start within a minute"
kill -TERM "$runner"
status=0
wait "$runner" || status=$?
[ "$status" -ne 0 ] || fail "a stopped run reported success"
command=$(sed -n 2p "$scratch/stopped")
! kill -0 "$command" 2>/dev/null || fail "the command of a stopped run still runs"
gone "$(head -n 1 "$scratch/stopped" | cut -d' ' -f2)" "a stopped run"
left "a stopped run"
echo "with_display: 1 passed, 0 failed"
