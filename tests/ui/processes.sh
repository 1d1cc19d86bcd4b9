# Sourced by the scripts that start servers of their own (the UI tests, the start-up
# benchmark): ending processes by their PIDs, and the accessibility bus.

# Processes ended by their PIDs together with everything they started: a session bus starts
# services of its own (the accessibility bus launcher, for one) that would outlive it.
descendants() {  # pid
    local child
    for child in $(pgrep -P "$1" || true); do
        echo "$child"
        descendants "$child"
    done
}
end_processes() {  # pid...
    local pid all=()
    for pid in "$@"; do
        [[ -n $pid ]] || continue
        # shellcheck disable=SC2207
        all+=("$pid" $(descendants "$pid"))
    done
    ((${#all[@]} == 0)) || kill "${all[@]}" 2>/dev/null || true
}

# The accessibility bus on the caller's session bus, once it answers; sets a11y_bus_pid.
start_accessibility_bus() {  # log
    /usr/libexec/at-spi-bus-launcher --launch-immediately >"$1" 2>&1 &
    a11y_bus_pid=$!
    for _ in $(seq 100); do
        # Asked without starting it: the bus would otherwise start a second launcher itself.
        dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
            org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null |
            grep -q 'boolean true' && return 0
        kill -0 "$a11y_bus_pid" 2>/dev/null || break
        sleep 0.1
    done
    echo "the accessibility bus did not start: $(cat "$1")" >&2
    return 1
}
