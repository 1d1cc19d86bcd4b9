# Shared by the scripts that run the real game under a real Wayland compositor nested in
# the private Xvfb of xvfb_session.sh (sourced after it, not run): the pointer on that X
# server reaches the compositor, and through it the game.

# A session bus of our own, as the compositor expects one (GNOME's asks it for its settings).
start_session_bus() {
    dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$work/bus" \
        >"$work/bus.log" 2>&1 &
    bus_pid=$!
    for _ in $(seq 50); do [[ -s $work/bus ]] && break; sleep 0.1; done
    [[ -s $work/bus ]] || fail "the session bus did not start: $(cat "$work/bus.log")"
    DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus")
    export DBUS_SESSION_BUS_ADDRESS
}

# Waits up to 10 s for a command to succeed.
wait_until() {  # what command...
    local what=$1
    shift
    for _ in $(seq 100); do
        "$@" >/dev/null 2>&1 && return 0
        [[ -n ${game_pid:-} ]] && ! kill -0 "$game_pid" 2>/dev/null &&
            fail "the game ended early while waiting for $what: $(cat "$work/stderr")"
        sleep 0.1
    done
    fail "no $what after 10 s"
}

# The pointer, on the X server the compositor runs in (its output is at 0,0 there). It comes
# from a few pixels away, as a hand moves it: XWayland learns where it is on a window that
# has just appeared only from a motion inside that window.
press() {  # x y
    xdotool mousemove $(($1 - 4)) $(($2 - 4)) sleep 0.2 mousemove "$1" "$2" sleep 0.2 click 1
}
# A drag with the left button held, in steps, as a hand would do it.
drag() {  # x y dx dy
    xdotool mousemove "$1" "$2" mousedown 1 sleep 0.2 \
        mousemove $(($1 + $3 / 2)) $(($2 + $4 / 2)) sleep 0.2 \
        mousemove $(($1 + $3)) $(($2 + $4)) sleep 0.2 mouseup 1
}

# A rectangle "left top width height" must keep its size for a second after a drag, the
# time the compositor has to answer it.
keeps_size() {  # what measure-command... (prints the rectangle)
    local what=$1 before after
    shift
    before=$("$@")
    for _ in $(seq 10); do
        sleep 0.1
        after=$("$@")
        [[ ${after#* * } == "${before#* * }" ]] ||
            fail "$what changed its size from '$before' to '$after'"
    done
}

# The first rectangle lies within the second: "left top width height" each.
lies_within() {  # what inner outer
    local il it iw ih ol ot ow oh
    read -r il it iw ih <<<"$2"
    read -r ol ot ow oh <<<"$3"
    ((il >= ol && it >= ot && il + iw <= ol + ow && it + ih <= ot + oh)) ||
        fail "$1 ($2) does not lie over the main window ($3)"
}
