#!/usr/bin/env bash
# The real game in a Wayland session: weston (its x11 backend inside a private Xvfb, so that
# clicks can be sent) with Debian's qt6-wayland. The maximize boxes of the main window and
# of the quit dialog are clicked, the game must keep running, and it quits through its
# dialogs; the stored window position must be left as it was, since a Wayland client cannot
# know its position.
#   wayland_test.sh GAME TOOL OUTPUT_DIR
# The game's windows are found in weston's own report of its surfaces (the scene graph of
# its debug protocol, by title and process), and every step waits for what the compositor or
# the game reports: never for whatever a screenshot shows, which depends on the pointer and
# the installed cursor theme.
set -euo pipefail
game=$1
tool=$2
out=$3
mkdir -p "$out"
xvfb_session_name=wayland
source "$(dirname "${BASH_SOURCE[0]}")/xvfb_session.sh"
trap 'end_processes "${game_pid:-}" "${proto_pid:-}" "${weston_pid:-}" "${xvfb_pid:-}"; wait 2>/dev/null; rm -rf "$work"' EXIT

start_xvfb
cat >"$work/weston.ini" <<'INI'
[core]
idle-time=0
[shell]
background-color=0xff00ff00
panel-position=none
locking=false
animation=none
startup-animation=none
INI
# --debug offers the debug protocol: its scene graph lists every surface with its role,
# process, title and rectangle, and its protocol dump shows what the game asks for.
# weston's window leaves the screen's right and bottom edges free, and the pointer starts
# there: weston follows the pointer only after it has entered its window.
xdotool mousemove 1020 760
weston --backend=x11-backend.so --width=1000 --height=740 --socket=travoli-wayland \
    --config="$work/weston.ini" --debug >"$work/weston.log" 2>&1 &
weston_pid=$!
export WAYLAND_DISPLAY=travoli-wayland
for _ in $(seq 100); do [[ -S $XDG_RUNTIME_DIR/$WAYLAND_DISPLAY ]] && break; sleep 0.1; done
[[ -S $XDG_RUNTIME_DIR/$WAYLAND_DISPLAY ]] || fail "weston did not start: $(cat "$work/weston.log")"
compositor=$(xwininfo -root -tree | sed -n 's/^ *\(0x[0-9a-f]*\) "Weston Compositor.*/\1/p' | head -n1)
[[ -n $compositor ]] || fail "no weston window on the X server"
weston-debug proto >"$work/proto.log" 2>/dev/null &
proto_pid=$!
for _ in $(seq 100); do [[ -s $work/proto.log ]] && break; sleep 0.1; done
[[ -s $work/proto.log ]] || fail "weston-debug wrote no protocol log"

stored="200,0,1,120,90,459,496"
"$tool" settings set common tongue 0 >/dev/null
"$tool" settings set common MainForm "$stored" >/dev/null
# A Wayland session as Qt recognises one; no QT_QPA_PLATFORM.
XDG_SESSION_TYPE=wayland start_game "$game"

alive() { kill -0 "$game_pid" 2>/dev/null || fail "the game died: $(cat "$work/stderr")"; }

# The game's top-level windows as weston places them: "left top width height|title".
views() {
    timeout 5 weston-debug scene-graph 2>/dev/null | awk -v pid="$game_pid" '
        /role xdg_toplevel, PID / {
            mine = index($0, "PID " pid ",") > 0
            title = $0
            sub(/.*top-level window \047/, "", title)
            sub(/\047 of [^\047]*$/, "", title)
            next
        }
        mine && /position: \(/ {
            gsub(/[(),>-]/, " ")
            print $2, $3, $4 - $2, $5 - $3 "|" title
            mine = 0
        }'
}
# The rectangle of the window with this title once weston shows it: "left top width height".
view() {  # title
    local rect
    for _ in $(seq 100); do
        rect=$(views | awk -F'|' -v title="$1" '$2 == title { print $1; exit }' || true)
        [[ -n $rect ]] && { echo "$rect"; return 0; }
        alive
        sleep 0.1
    done
    fail "no window titled '$1'; weston shows: $(views | tr '\n' ';')"
}
gone() {  # title
    for _ in $(seq 100); do
        views | cut -d'|' -f2- | grep -q -F -x "$1" || return 0
        sleep 0.1
    done
    fail "the window '$1' did not close"
}
# The protocol dump's line count, and a wait for a request after such a mark.
mark() { wc -l <"$work/proto.log"; }
requested() {  # after-line pattern
    for _ in $(seq 100); do
        tail -n +"$1" "$work/proto.log" | grep -q -F "$2" && return 0
        alive
        sleep 0.1
    done
    fail "the game never sent $2 ${what:-}"
}
told() {  # after-line pattern: an event the game received
    local client
    client=$(grep -m1 -F 'set_app_id("example.zanfir.Travoli")' "$work/proto.log" |
        awk '{print $4}' || true)
    [[ -n $client ]] || fail "the game never set its app id"
    for _ in $(seq 100); do
        tail -n +"$1" "$work/proto.log" | grep -q "client $client ev $2" && return 0
        alive
        sleep 0.1
    done
    fail "the game was never told $2"
}
key() {  # the focused window of the session gets the key
    xdotool key --window "$compositor" "$1"
}
# A click on a decoration's maximize box (40 px left of the right edge, in the title bar):
# the window asks to be maximized, then takes it back and comes back to its own size.
maximize_and_back() {  # title
    local left top width height from what="after a click on the maximize box of '$1'"
    read -r left top width height <<<"$(view "$1")"
    # The pointer first, and the click once the game has been told where it is.
    from=$(mark)
    xdotool mousemove $((left + width - 40)) $((top + 15))
    told "$from" "wl_pointer@[0-9]*\.\(enter\|motion\)("
    from=$(mark)
    xdotool click 1
    requested "$from" "set_maximized()"
    requested "$from" "unset_maximized()"
    requested "$from" "set_window_geometry(0, 0, $width, $height)"
    for _ in $(seq 50); do
        [[ $(view "$1") == "$left $top $width $height" ]] && return 0
        sleep 0.1
    done
    fail "'$1' did not come back to $width x $height at $left,$top: $(view "$1")"
}

view "Zanfir Bytes - Freeware-Info" >/dev/null
shot info-dialog
key Return  # the info dialog's OK
gone "Zanfir Bytes - Freeware-Info"
read -r left top width height <<<"$(view "Travoli - level 1: unsolved")"
# The fixed client area of 337 x 385 inside Qt's decoration (3 px borders, 30 px title bar).
[[ "$width $height" == "343 418" ]] || fail "the main window is $width x $height, not 343 x 418"
shot main-window

maximize_and_back "Travoli - level 1: unsolved"
shot after-maximize

# The exit button (client 100,16 below the title bar and the border): the quit dialog, whose
# decoration offers a maximize box too.
xdotool mousemove $((left + 3 + 100)) $((top + 30 + 16)) click 1
view "Travoli" >/dev/null
shot quit-dialog
maximize_and_back "Travoli"
shot quit-maximized
key Return  # yes
view "Zanfir Bytes - Freeware-Info" >/dev/null
key Return
await_game_end "after the quit dialog"
[[ $("$tool" settings get common MainForm) == "$stored" ]] ||
    fail "the stored position changed to '$("$tool" settings get common MainForm)'"
"$tool" settings get common level | grep -qx 1 || fail "the game values were not saved"
echo "wayland: passed"
