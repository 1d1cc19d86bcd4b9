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
trap 'end_processes "${a11y_bus_pid:-}" "${game_pid:-}" "${wm_pid:-}" "${xvfb_pid:-}"; wait 2>/dev/null; rm -rf "$work"' EXIT

start_xvfb
start_accessibility_bus "$work/bus.log" || fail "no accessibility bus"

# English saved, so that only the info dialog opens at the start.
"$tool" settings set common tongue 0 >/dev/null
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 start_game "$game"
window "Zanfir Bytes - Freeware-Info" >/dev/null
# The numeric keypad's digits need Num Lock.
xdotool key Num_Lock

/usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/accessibility_play.py" "$tool" "$game_pid" \
    || { shot failure; fail "the play through AT-SPI failed (screenshot in $out)"; }

await_game_end "after the quit dialog"
check_clean_end
