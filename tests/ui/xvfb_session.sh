# Shared by the scripts that drive the real game under Xvfb (sourced, not run): a private X
# server, settings folder and runtime folder, the window lookup and clicks, and the clicks
# that answer the start dialogs and quit through the quit dialog.
# The caller sets `out` (the screenshot folder) and runs with `set -euo pipefail`.
# With TRAVOLI_TEST_WM set (openbox, xfwm4) that window manager runs on the server too.

work=$(mktemp -d)

source "$(dirname "${BASH_SOURCE[0]}")/processes.sh"
# The server is waited for, so that the next script's server never meets its leftovers.
trap 'end_processes "${game_pid:-}" "${wm_pid:-}" "${xvfb_pid:-}"; wait 2>/dev/null; rm -rf "$work"' EXIT

fail() {
    echo "${xvfb_session_name:-smoke}: $*" >&2
    exit 1
}

# A fresh X server of 1024x768 without a window manager; a fresh, empty settings folder.
start_xvfb() {
    # A display number of our own, away from :0 and from other scripts' servers; a server
    # only counts as started once it answers.
    local attempt number
    for attempt in 1 2 3 4 5; do
        number=$((100 + RANDOM % 800))
        [[ -e "/tmp/.X$number-lock" || -e "/tmp/.X11-unix/X$number" ]] && continue
        # -noreset: without it the server resets whenever its last client leaves, and a game
        # started at that moment cannot connect.
        Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp -noreset 2>"$work/xvfb.log" &
        xvfb_pid=$!
        export DISPLAY=":$number"
        for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
        xdpyinfo >/dev/null 2>&1 && break
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=
    done
    [[ -n "${xvfb_pid:-}" ]] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
    # Caches and state of the compositors, Mesa and the accessibility bus stay here too.
    export XDG_CACHE_HOME="$work/cache" XDG_DATA_HOME="$work/data" XDG_STATE_HOME="$work/state"
    mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
    export SDL_AUDIODRIVER=dummy
    unset QT_QPA_PLATFORM WAYLAND_DISPLAY
    start_wm "${TRAVOLI_TEST_WM:-}"
}

# A window manager of our own on that server, once it has taken over (it names itself on
# the root window).
start_wm() {  # openbox | xfwm4 | (empty: none)
    case $1 in
        "") return 0 ;;
        openbox) openbox --sm-disable >"$work/wm.log" 2>&1 & ;;
        # GTK's accessibility bridge would start an accessibility bus for the manager.
        xfwm4) NO_AT_BRIDGE=1 dbus-run-session -- xfwm4 --compositor=off --sm-client-disable >"$work/wm.log" 2>&1 & ;;
        *) fail "unknown window manager '$1'" ;;
    esac
    wm_pid=$!
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        kill -0 "$wm_pid" 2>/dev/null || fail "$1 did not start: $(cat "$work/wm.log")"
        sleep 0.1
    done
    xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' || fail "$1 did not take over"
}

# The outer rectangle of a window, frame included: "left top width height".
frame() {  # window
    local info left top width height extents
    info=$(xwininfo -id "$1")
    left=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
    top=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
    width=$(sed -n 's/.*Width: *//p' <<<"$info")
    height=$(sed -n 's/.*Height: *//p' <<<"$info")
    # "_NET_FRAME_EXTENTS(CARDINAL) = left, right, top, bottom"; none without a manager.
    extents=$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.* = //p' | tr -d ' ')
    if [[ -n $extents ]]; then
        IFS=, read -r l r t b <<<"$extents"
        echo "$((left - l)) $((top - t)) $((width + l + r)) $((height + t + b))"
    else
        echo "$left $top $width $height"
    fi
}

# A dialog lies over the main window as the placement rule says, by the outer rectangles
# that RECT gives ("left top width height"; the frame by default).
ClientHeight=385  # the main window's client height, which the rule uses
near() {  # what actual expected
    local d=$(($2 - $3))
    ((d >= -1 && d <= 1)) || fail "$1 is $2, the rule says $3"
}
check_over_main() {  # dialog main name [rect]
    local rect=${4:-frame} ml mt mw mh dl dt dw dh
    read -r ml mt mw mh <<<"$("$rect" "$2")"
    read -r dl dt dw dh <<<"$("$rect" "$1")"
    near "$3's left" "$dl" $((ml + (mw - dw) / 2))
    near "$3's top" "$dt" $((mt + mh - (ClientHeight + dh) / 2))
}

# The window manager reads the caption from _NET_WM_NAME (UTF-8) and WM_NAME.
check_caption() {  # window caption
    local net
    net=$(xprop -id "$1" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p')
    [[ $net == "$2" ]] || fail "_NET_WM_NAME is '$net', not '$2'"
    if [[ $2 =~ ^[[:print:]]*$ ]]; then  # plain ASCII also stands in WM_NAME as it is
        net=$(xprop -id "$1" WM_NAME | sed -n 's/^WM_NAME([A-Z_0-9]*) = "\(.*\)"$/\1/p')
        [[ $net == "$2" ]] || fail "WM_NAME is '$net', not '$2'"
    fi
}

start_game() {  # command [arguments]
    "$@" >"$work/stdout" 2>"$work/stderr" &
    game_pid=$!
}

# A window's outer rectangle once it has settled: the same in two looks in a row (a window
# manager frames and places a new window after it is mapped), and framed where a manager runs.
settle() {  # window
    local before now
    before=$(frame "$1")
    for _ in $(seq 100); do
        sleep 0.05
        now=$(frame "$1")
        if [[ $now == "$before" ]] &&
            { [[ -z ${wm_pid:-} ]] || xprop -id "$1" _NET_FRAME_EXTENTS | grep -q ' = '; }; then
            return 0
        fi
        before=$now
    done
    fail "window $1 did not settle: $now"
}

# The window with exactly this title, once it is mapped and has settled.
# Before its first title the main window is captioned "Travoli" too, like the dialogs: where
# both are shown, the dialog is meant, and with "dialog" only a dialog counts (a notice shown
# at the start, while the main window may already be there).
first_window() {  # [dialog]; reads window ids
    local id first=
    while read -r id; do
        [[ -n $first || ${1:-} == dialog ]] || first=$id
        if xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_DIALOG; then
            echo "$id"
            return 0
        fi
    done
    [[ -z $first ]] || echo "$first"
}
window() {  # title [dialog]
    local id
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | first_window "${2:-}" || true)
        if [[ -n "$id" ]]; then
            settle "$id" >&2
            echo "$id"
            return 0
        fi
        kill -0 "$game_pid" 2>/dev/null || fail "the game ended early: $(cat "$work/stderr")"
        sleep 0.1
    done
    fail "no window titled '$1'"
}
# Once no window with exactly this title is shown; `what` is said when one stays.
window_gone() {  # title what
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "$2"
}
click() {  # window x y (client coordinates)
    xdotool mousemove --window "$1" "$2" "$3" click 1
}
shot() {
    /usr/bin/import -window root "$out/$1.png"
}

# First start: the language dialog (answered in English), then the info dialog.
answer_start_dialogs() {
    local lang info
    lang=$(window "Travoli V2.1")
    shot language-dialog
    click "$lang" 190 29  # "I speak english."

    info=$(window "Zanfir Bytes - Freeware-Info")
    shot info-dialog
    click "$info" 190 451  # OK
}

# The exit button, yes in the quit dialog, OK in the closing info dialog; then the game must
# end by itself, with status 0.
quit_through_dialog() {  # main window
    local quit info
    click "$1" 100 16  # ExitBtn
    quit=$(window "Travoli")
    shot quit-dialog
    click "$quit" 78 81  # Yes
    info=$(window "Zanfir Bytes - Freeware-Info")
    click "$info" 190 451
    await_game_end "after the quit dialog"
}

# The game must end by itself within SECONDS (10), with status 0, or with any other status
# where "failed" is expected.
await_game_end() {  # when [seconds] [failed]
    local seconds=${2:-10} status=0
    for _ in $(seq $((seconds * 10))); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$game_pid" 2>/dev/null && fail "the game was still running $seconds s $1"
    wait "$game_pid" || status=$?
    game_pid=
    if [[ ${3:-} == failed ]]; then
        ((status != 0)) || fail "the game ended with status 0 $1"
    else
        ((status == 0)) || fail "the game ended with status $status $1: $(cat "$work/stderr" 2>/dev/null)"
    fi
}

# After the end: the settings were written, and nothing was said on stderr.
check_clean_end() {
    local hive="$XDG_CONFIG_HOME/ZanfirGames/Travoli/registry.sqlite3"
    [[ -f "$hive" ]] || fail "no settings were written to $hive"
    if [[ -s "$work/stderr" ]]; then
        fail "the game wrote to stderr: $(cat "$work/stderr")"
    fi
}
