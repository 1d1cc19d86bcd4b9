#!/usr/bin/env bash
# A screen reader's view of the real game: under Xvfb and openbox, with a private session bus
# and the accessibility bus, accessibility_play.py solves level 1 with digit keys alone,
# reading the board through AT-SPI before every key, counts what the game announces, presses
# cells through their AT-SPI actions and quits with Ctrl+Q.
#   accessibility_test.sh GAME TOOL OUTPUT_DIR
set -euo pipefail
if [[ -z ${TRAVOLI_PRIVATE_BUS:-} ]]; then
    # A session bus of our own, gone when the script ends.
    TRAVOLI_PRIVATE_BUS=1 exec dbus-run-session -- "$0" "$@"
fi
game=$1
tool=$2
out=$3
mkdir -p "$out"
xvfb_session_name=accessibility
export TRAVOLI_TEST_WM=openbox
source "$(dirname "${BASH_SOURCE[0]}")/xvfb_session.sh"

# The accessibility bus and the helpers it starts (its own dbus-daemon and the registry)
# are ended by their PIDs along with the servers of xvfb_session.sh.
trap 'end_processes "${bus_pid:-}" "${game_pid:-}" "${wm_pid:-}" "${xvfb_pid:-}"; wait 2>/dev/null; rm -rf "$work"' EXIT

start_xvfb
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/bus.log" 2>&1 &
bus_pid=$!
for _ in $(seq 100); do
    # Asked without starting it: the bus would otherwise start a second launcher itself.
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q 'boolean true' &&
        break
    kill -0 "$bus_pid" 2>/dev/null || fail "the accessibility bus did not start: $(cat "$work/bus.log")"
    sleep 0.1
done

# English saved, so that only the info dialog opens at the start.
"$tool" settings set common tongue 0 >/dev/null
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 start_game "$game"
window "Zanfir Bytes - Freeware-Info" >/dev/null
# The numeric keypad's digits need Num Lock.
xdotool key Num_Lock

/usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/accessibility_play.py" "$tool" "$game_pid" \
    || { shot failure; fail "the play through AT-SPI failed (screenshot in $out)"; }

for _ in $(seq 50); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$game_pid" 2>/dev/null && fail "the game did not end after the quit dialog"
wait "$game_pid" || fail "the game ended with status $?"
game_pid=
check_clean_end
