#!/usr/bin/env bash
# The real game in a Wayland session: weston (its x11 backend inside a private Xvfb, so that
# clicks can be sent) with Debian's qt6-wayland. The maximize boxes of the main window and
# of the quit dialog are clicked, the game must keep running, and it quits through its
# dialogs; the stored window position must be left as it was, since a Wayland client cannot
# know its position.
#   wayland_test.sh GAME TOOL OUTPUT_DIR
set -euo pipefail
game=$1
tool=$2
out=$3
mkdir -p "$out"
xvfb_session_name=wayland
source "$(dirname "${BASH_SOURCE[0]}")/xvfb_session.sh"
trap 'kill "${game_pid:-}" "${weston_pid:-}" "${xvfb_pid:-}" 2>/dev/null || true; wait 2>/dev/null; rm -rf "$work"' EXIT

start_xvfb
# A plain green desktop without a panel: what is not green is the game.
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
weston --backend=x11-backend.so --width=1024 --height=768 --socket=travoli-wayland \
    --config="$work/weston.ini" >"$work/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 100); do [[ -S $XDG_RUNTIME_DIR/travoli-wayland ]] && break; sleep 0.1; done
[[ -S $XDG_RUNTIME_DIR/travoli-wayland ]] || fail "weston did not start: $(cat "$work/weston.log")"
compositor=$(xwininfo -root -tree | sed -n 's/^ *\(0x[0-9a-f]*\) "Weston Compositor.*/\1/p' | head -n1)
[[ -n $compositor ]] || fail "no weston window on the X server"

stored="200,0,1,120,90,459,496"
"$tool" settings set common tongue 0 >/dev/null
"$tool" settings set common MainForm "$stored" >/dev/null
# A Wayland session as Qt recognises one; no QT_QPA_PLATFORM.
WAYLAND_DISPLAY=travoli-wayland XDG_SESSION_TYPE=wayland start_game "$game"

# The game's windows are not X windows: they are found in screenshots of weston's output.
outline() {  # "width height left top" of everything that is not the green desktop
    /usr/bin/import -window root "$work/screen.png"
    convert "$work/screen.png" -fuzz 2% -trim -format '%w %h %X %Y' info: | tr -d +
}
key() {  # the focused window of the session gets the key
    xdotool key --window "$compositor" "$1"
    sleep 0.5
}
alive() { kill -0 "$game_pid" 2>/dev/null || fail "the game died: $(cat "$work/stderr")"; }

sleep 3
alive
shot info-dialog
key Return  # the info dialog's OK
for _ in $(seq 10); do
    read -r width height left top <<<"$(outline)"
    ((width > 300 && width < 400)) && break
    sleep 0.5
done
((width > 300 && width < 400)) || fail "no main window alone on the desktop: $width x $height"
shot main-window

# The maximize box of the decoration: 40 px left of the right edge, in the title bar.
xdotool mousemove $((left + width - 40)) $((top + 15)) click 1
sleep 2
alive
shot after-maximize
read -r w h _ _ <<<"$(outline)"
[[ "$w $h" == "$width $height" ]] || fail "the window did not come back to its size: $w x $h"

# The exit button (client 100,16 below a 30 px title bar and a 3 px border), yes, OK.
xdotool mousemove $((left + 3 + 100)) $((top + 30 + 16)) click 1
sleep 1
shot quit-dialog
# The quit dialog lies above the main window and to its right: its maximize box too.
read -r qw qh ql qt <<<"$(outline)"
xdotool mousemove $((ql + qw - 40)) $((qt + 15)) click 1
sleep 2
alive
shot quit-maximized
key Return
key Return
for _ in $(seq 50); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$game_pid" 2>/dev/null && fail "the game did not end after the quit dialog"
wait "$game_pid" || fail "the game ended with status $?"
game_pid=
[[ $("$tool" settings get common MainForm) == "$stored" ]] ||
    fail "the stored position changed to '$("$tool" settings get common MainForm)'"
"$tool" settings get common level | grep -qx 1 || fail "the game values were not saved"
echo "wayland: passed"
