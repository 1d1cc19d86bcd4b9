#!/usr/bin/env bash
# The real game in GNOME's Wayland session: mutter nested in a private Xvfb, with its
# XWayland, and the game started as GNOME starts it (Wayland and X11 offered, no platform
# chosen). It must take X11, where the window keeps its fixed size and its position: the
# corners of the main window and of a dialog are dragged, a fullscreen request is made, every
# dialog opens where the placement rule puts it, the window is moved by its title bar and
# comes back there over two more starts.
#   mutter_test.sh GAME TOOL OUTPUT_DIR
set -euo pipefail
game=$1
tool=$2
out=$3
mkdir -p "$out"
xvfb_session_name=mutter
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/xvfb_session.sh"
source "$here/compositor_session.sh"
trap 'end_processes "${game_pid:-}" "${mutter_pid:-}" "${bus_pid:-}" "${xvfb_pid:-}"; wait 2>/dev/null; rm -rf "$work"' EXIT


start_xvfb
start_session_bus
MUTTER_DEBUG_DUMMY_MODE_SPECS=1024x768 mutter --nested --wayland \
    --wayland-display=travoli-mutter >"$work/mutter.log" 2>&1 &
mutter_pid=$!
wait_until "XWayland of mutter" grep -q 'Using public X11 display' "$work/mutter.log"
wait_until "mutter's Wayland socket" test -S "$XDG_RUNTIME_DIR/travoli-mutter"
session_display=$(sed -n 's/.*Using public X11 display \(:[0-9]*\),.*/\1/p' "$work/mutter.log")
session_auth=$(compgen -G "$XDG_RUNTIME_DIR/.mutter-Xwaylandauth.*" | head -n1 || true)
[[ -n $session_auth ]] || fail "mutter left no XWayland authority file"

# On the session's X server, XWayland.
xw() { DISPLAY=$session_display XAUTHORITY=$session_auth "$@"; }
# The game's window with exactly this title on XWayland, once it is mapped: a window that
# took Wayland instead is never found there.
x_window() {  # title
    local id
    for _ in $(seq 100); do
        id=$(xw xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 || true)
        [[ -n $id ]] && { echo "$id"; return 0; }
        kill -0 "$game_pid" 2>/dev/null || fail "the game ended early: $(cat "$work/stderr")"
        sleep 0.1
    done
    fail "no window titled '$1' on XWayland"
}
outer() { xw frame "$1"; }
# Client coordinates of a window, pressed with the pointer of the X server mutter runs in.
click_in() {  # window x y
    local info left top
    info=$(xw xwininfo -id "$1")
    left=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
    top=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
    press $((left + $2)) $((top + $3))
}
# The frame settles once mutter has framed the window and the dialog has moved over it.
settled() {  # window
    local before
    for _ in $(seq 20); do
        before=$(outer "$1")
        sleep 0.2
        [[ $(outer "$1") == "$before" ]] && return 0
    done
    fail "window $1 did not settle on XWayland: $(outer "$1")"
}
drag_corner() {  # window
    local l t w h
    read -r l t w h <<<"$(outer "$1")"
    drag $((l + w + 2)) $((t + h + 2)) 200 200
    keeps_size "the window $1" outer "$1"
}
start_as_gnome_does() {
    env -u DBUS_SESSION_BUS_ADDRESS DISPLAY="$session_display" XAUTHORITY="$session_auth" \
        WAYLAND_DISPLAY=travoli-mutter XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=GNOME \
        "$game" >"$work/stdout" 2>"$work/stderr" &
    game_pid=$!
}
quit() {  # main window
    local quit info
    click_in "$1" 100 16  # ExitBtn
    quit=$(x_window "Travoli")
    settled "$quit"
    check_over_main "$quit" "$1" "the quit dialog" outer
    click_in "$quit" 78 81  # Yes
    info=$(x_window "Zanfir Bytes - Freeware-Info")
    click_in "$info" 190 451
    await_game_end "after the quit dialog"
    check_clean_end
}

# First start, nothing stored: the language dialog, then the info dialog, over the window.
start_as_gnome_does
dialog=$(x_window "Travoli V2.1")
main=$(x_window "Travoli - level 1: unsolved")
settled "$dialog"
check_over_main "$dialog" "$main" "the language dialog" outer
shot language-dialog
click_in "$dialog" 190 29
dialog=$(x_window "Zanfir Bytes - Freeware-Info")
settled "$dialog"
check_over_main "$dialog" "$main" "the info dialog" outer
info_before=$(outer "$dialog")
drag_corner "$dialog"
click_in "$dialog" 190 451

main_before=$(outer "$main")
drag_corner "$main"
xw wmctrl -i -r "$main" -b add,fullscreen
keeps_size "the main window after a fullscreen request" outer "$main"
main_after=$(outer "$main")
shot main-window

# The player drags the window by its title bar; the quit dialog follows it.
read -r l t _ _ <<<"$main_after"
drag $((l + 60)) $((t + 12)) -300 -120
wait_until "the window moved" test "$(outer "$main" | cut -d' ' -f1)" != "$l"
settled "$main"
read -r left top width height <<<"$(outer "$main")"
click_in "$main" 100 16
quit_dialog=$(x_window "Travoli")
settled "$quit_dialog"
quit_rect=$(outer "$quit_dialog")
drag_corner "$quit_dialog"
shot quit-dialog
click_in "$quit_dialog" 175 81  # No
for _ in $(seq 50); do xw xwininfo -id "$quit_dialog" 2>/dev/null | grep -q IsViewable || break; sleep 0.1; done
xw xwininfo -id "$quit_dialog" 2>/dev/null | grep -q IsViewable && fail "No left the quit dialog open"
quit "$main"
saved="200,0,1,$left,$top,$((left + width)),$((top + height))"
[[ $("$tool" settings get common MainForm) == "$saved" ]] ||
    fail "saved '$("$tool" settings get common MainForm)', not the frame '$saved'"
echo "mutter: main $main_before -> $main_after after the corner drag and fullscreen," \
    "info dialog $info_before, quit dialog $quit_rect over main $left $top $width $height"

for run in 2 3; do
    start_as_gnome_does
    click_in "$(x_window "Zanfir Bytes - Freeware-Info")" 190 451
    main=$(x_window "Travoli - level 1: unsolved")
    settled "$main"
    read -r l t _ _ <<<"$(outer "$main")"
    [[ "$l $t" == "$left $top" ]] || fail "start $run: the frame is at $l,$t, not $left,$top"
    quit "$main"
    [[ $("$tool" settings get common MainForm) == "$saved" ]] ||
        fail "start $run saved '$("$tool" settings get common MainForm)', not '$saved'"
done
shot last-start
echo "mutter: saved position after two more starts: $saved"

# The player's choice wins: with QT_QPA_PLATFORM=wayland the game is a native client.
QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client start_as_gnome_does
wait_until "a native info dialog" grep -q 'set_title("Zanfir Bytes - Freeware-Info")' "$work/stderr"
[[ -z $(xw xdotool search --name '^Zanfir Bytes' 2>/dev/null) ]] ||
    fail "with QT_QPA_PLATFORM=wayland the game still took XWayland"
kill "$game_pid"
wait "$game_pid" || true
game_pid=
echo "mutter: passed"
