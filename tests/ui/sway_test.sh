#!/usr/bin/env bash
# The real game under sway, a tiling compositor (its X11 backend inside a private Xvfb, so
# that the pointer can be driven), started as sway starts programs. Twice: without XWayland,
# where the game is a native Wayland client, and with it, where the game takes X11. Each
# time the main window and its dialogs must float at their fixed sizes through corner drags
# and a fullscreen request, the quit dialog must lie over the main window, and over two more
# starts the window must come back where it was; a native client leaves the stored position
# alone. sway refuses to run as root: as root, the script runs itself as nobody.
#   sway_test.sh GAME TOOL OUTPUT_DIR
set -euo pipefail
game=$1
tool=$2
out=$3
mkdir -p "$out"
if [[ $(id -u) -eq 0 ]]; then
    # The build tree may lie where nobody cannot read (under /root): the programs and these
    # scripts run from a copy, and the screenshots come back.
    copy=$(mktemp -d)
    trap 'rm -rf "$copy"' EXIT
    here=$(dirname "${BASH_SOURCE[0]}")
    cp "$game" "$tool" "$here/sway_test.sh" "$here/xvfb_session.sh" \
        "$here/processes.sh" "$here/compositor_session.sh" "$copy/"
    mkdir "$copy/out"
    chmod -R a+rX "$copy" && chown nobody "$copy/out"
    status=0
    setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$copy/out" \
        "$copy/sway_test.sh" "$copy/$(basename "$game")" "$copy/$(basename "$tool")" \
        "$copy/out" || status=$?
    rm -f "$out"/*.png
    cp "$copy"/out/*.png "$out/" 2>/dev/null || true
    exit $status
fi
xvfb_session_name=sway
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/xvfb_session.sh"
source "$here/compositor_session.sh"
trap 'end_processes "${game_pid:-}" "${sway_pid:-}" "${xvfb_pid:-}"; wait 2>/dev/null; rm -rf "$work"' EXIT

start_sway() {  # xwayland: enable | disable
    end_processes "${sway_pid:-}"
    wait "${sway_pid:-}" 2>/dev/null || true
    rm -rf "$XDG_RUNTIME_DIR" && mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
    cat >"$work/sway.conf" <<CONF
output X11-1 mode 1024x768 position 0 0
xwayland $1
default_border normal
focus_follows_mouse no
CONF
    WLR_BACKENDS=x11 WLR_X11_OUTPUTS=1 WLR_RENDERER=pixman sway -c "$work/sway.conf" \
        >"$work/sway.log" 2>&1 &
    sway_pid=$!
    wait_until "sway socket" compgen -G "$XDG_RUNTIME_DIR/sway-ipc.*.sock"
    SWAYSOCK=$(compgen -G "$XDG_RUNTIME_DIR/sway-ipc.*.sock" | head -n1)
    export SWAYSOCK
    # The environment sway gives the programs it starts.
    swaymsg -q exec "env >$work/session.env"
    wait_until "sway session" grep -q '^WAYLAND_DISPLAY=' "$work/session.env"
    session_wayland=$(sed -n 's/^WAYLAND_DISPLAY=//p' "$work/session.env")
    session_display=$(sed -n 's/^DISPLAY=//p' "$work/session.env")
}

# The game's window with this title: "left top width height" of its outer rectangle, title
# bar included, then its type (floating_con when it floats), its fullscreen mode, the
# client's left and top on the output, and sway's id.
view() {  # title (a regular expression)
    swaymsg -t get_tree | jq -r --arg title "$1" '
        .. | objects | select(.type? == "con" or .type? == "floating_con")
        | select(.name != null and (.name | test($title)))
        | "\(.rect.x) \(.rect.y - .deco_rect.height) \(.rect.width) \(.rect.height + .deco_rect.height)"
          + " \(.type) \(.fullscreen_mode) \(.rect.x + .window_rect.x) \(.rect.y + .window_rect.y) \(.id)"' |
        head -n1
}
outer() { view "$1" | cut -d' ' -f1-4; }
shown() { [[ -n $(view "$1") ]]; }
gone() { [[ -z $(view "$1") ]]; }
not_fullscreen() { [[ $(view "$1" | cut -d' ' -f6) == 0 ]]; }
floats() {  # title
    [[ $(view "$1" | cut -d' ' -f5) == floating_con ]] || fail "'$1' is tiled: $(view "$1")"
}
click_in() {  # title x y (client coordinates)
    local _l _t _w _h _type _mode cl ct _id
    read -r _l _t _w _h _type _mode cl ct _id <<<"$(view "$1")"
    press $((cl + $2)) $((ct + $3))
}
# The bottom-right corner, dragged 150 px further out.
drag_corner() {  # title
    local l t w h
    read -r l t w h <<<"$(outer "$1")"
    drag $((l + w - 1)) $((t + h - 1)) 150 150
    keeps_size "'$1'" outer "$1"
}

Main='^Travoli - level'
Info='^Zanfir Bytes - Freeware-Info$'
Quit='^Travoli$'

answer_info() {
    wait_until "info dialog" shown "$Info"
    floats "$Info"
    click_in "$Info" 190 451
    wait_until "info dialog closed" gone "$Info"
}
quit() {
    click_in "$Main" 100 16  # ExitBtn
    wait_until "quit dialog" shown "$Quit"
    floats "$Quit"
    lies_within "the quit dialog" "$(outer "$Quit")" "$(outer "$Main")"
    click_in "$Quit" 78 81  # Yes
    answer_info
    await_game_end "after the quit dialog"
    check_clean_end
}
start_as_sway_does() {
    env -u DISPLAY WAYLAND_DISPLAY="$session_wayland" ${session_display:+DISPLAY=$session_display} \
        XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=sway "$game" >"$work/stdout" 2>"$work/stderr" &
    game_pid=$!
}

start_xvfb
stored="200,0,1,120,90,459,496"
for xwayland in disable enable; do
    phase="xwayland $xwayland"
    xvfb_session_name="sway ($phase)"
    start_sway "$xwayland"
    rm -rf "$XDG_CONFIG_HOME"
    "$tool" settings set common tongue 0 >/dev/null
    "$tool" settings set common MainForm "$stored" >/dev/null

    start_as_sway_does
    wait_until "info dialog" shown "$Info"
    wait_until "main window" shown "$Main"
    floats "$Main"
    shot "$xwayland-info-dialog"
    info_before=$(outer "$Info")
    drag_corner "$Info"
    answer_info
    main_before=$(outer "$Main")
    drag_corner "$Main"
    # A fullscreen request: taken back, the size unchanged.
    swaymsg -q "[con_id=$(view "$Main" | cut -d' ' -f9)] fullscreen enable"
    wait_until "the end of fullscreen" not_fullscreen "$Main"
    [[ $(outer "$Main" | cut -d' ' -f3-4) == "$(cut -d' ' -f3-4 <<<"$main_before")" ]] ||
        fail "after fullscreen the main window is $(outer "$Main"), not $main_before"
    shot "$xwayland-main-window"
    click_in "$Main" 100 16
    wait_until "quit dialog" shown "$Quit"
    quit_rect=$(outer "$Quit")
    drag_corner "$Quit"
    shot "$xwayland-quit-dialog"
    click_in "$Quit" 175 81  # No: the game goes on
    wait_until "quit dialog closed" gone "$Quit"
    main_after=$(outer "$Main")
    quit
    echo "sway ($phase): main $main_before -> $main_after after the corner drag, info dialog" \
        "$info_before, quit dialog $quit_rect, floating"
    saved=$("$tool" settings get common MainForm)
    if [[ -z $session_display ]]; then
        [[ $saved == "$stored" ]] || fail "a native client changed the stored position to $saved"
    fi
    for run in 2 3; do
        start_as_sway_does
        answer_info
        [[ $(outer "$Main") == "$main_after" ]] ||
            fail "start $run: the main window is at $(outer "$Main"), not $main_after"
        quit
        [[ $("$tool" settings get common MainForm) == "$saved" ]] ||
            fail "start $run saved $("$tool" settings get common MainForm), not $saved"
    done
    echo "sway ($phase): saved position after two more starts: $saved"
done
echo "sway: passed"
