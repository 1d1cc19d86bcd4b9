#!/usr/bin/env bash
# The real game under Xvfb where players lose results: two copies on one settings file, a
# file another program holds locked for a minute, and SIGTERM with settings that cannot be
# written.
#   nothing_lost_test.sh GAME TOOL HIVE_HOLDER OUTPUT_DIR
set -euo pipefail
game=$1
tool=$2
holder=$3
out=$4
mkdir -p "$out"
xvfb_session_name=nothing-lost
source "$(dirname "${BASH_SOURCE[0]}")/xvfb_session.sh"
# Every process started here is ended by its own id.
trap 'end_processes "${copy_a:-}" "${copy_b:-}" "${game_pid:-}" "${holder_pid:-}" "${xvfb_pid:-}"
      wait 2>/dev/null; rm -rf "$work"' EXIT

# The window of one process with exactly this title, once it is mapped.
window_of() {  # pid title [dialog]
    local id
    for _ in $(seq 150); do
        id=$(xdotool search --all --onlyvisible --pid "$1" --name "^$2\$" 2>/dev/null | first_window "${3:-}" || true)
        if [[ -n "$id" ]]; then
            settle "$id" >&2
            echo "$id"
            return 0
        fi
        kill -0 "$1" 2>/dev/null || fail "process $1 ended early: $(cat "$work"/*.err 2>/dev/null)"
        sleep 0.1
    done
    fail "no window titled '$2' of process $1"
}
solve() {  # pid level: plays the tool's shortest solution and closes the result dialog
    local main column row
    main=$(window_of "$1" "Travoli - level $2: unsolved")
    while read -r column row; do
        click "$main" $((89 + 78 * column)) $((122 + 79 * row))
    done < <("$tool" solve "$2" | sed 's/[(),]/ /g')
    click "$(window_of "$1" "Travoli")" 130 81
}
quit() {  # pid: the exit button, yes, OK in the info dialog; the copy must end with status 0
    local main
    main=$(xdotool search --all --onlyvisible --pid "$1" --name "^Travoli - " | head -n1)
    click "$main" 100 16
    click "$(window_of "$1" "Travoli")" 78 81
    click "$(window_of "$1" "Zanfir Bytes - Freeware-Info")" 190 451
    for _ in $(seq 50); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$1" 2>/dev/null && fail "process $1 did not end after the quit dialog"
    wait "$1" || fail "process $1 ended with status $?"
}
best() {  # level: the stored best result
    local code
    code=$("$tool" settings get common solution | head -c "$1" | tail -c 1 | od -An -tu1)
    echo $((code - 32))
}

start_xvfb
hive="$XDG_CONFIG_HOME/ZanfirGames/Travoli/registry.sqlite3"
"$tool" settings set common tongue 0
"$tool" settings set common level 33
moves33=$("$tool" solve 33 | wc -l)

# Two copies on one hive: A solves 33 and stays; B, started later, solves 32 and quits; then
# A quits with its record from before B's result. Both results must be there.
"$game" >"$work/a.out" 2>"$work/a.err" &
copy_a=$!
click "$(window_of "$copy_a" "Zanfir Bytes - Freeware-Info")" 190 451
solve "$copy_a" 33
"$game" >"$work/b.out" 2>"$work/b.err" &
copy_b=$!
click "$(window_of "$copy_b" "Zanfir Bytes - Freeware-Info")" 190 451
main_b=$(window_of "$copy_b" "Travoli - level 33: unsolved")
xdotool windowfocus --sync "$main_b"
xdotool key --window "$main_b" Left
solve "$copy_b" 32
quit "$copy_b"
copy_b=
[[ $(best 32) == 18 ]] || fail "B's result for level 32 was not saved: $(best 32)"
shot two-copies
quit "$copy_a"
copy_a=
[[ $(best 32) == 18 ]] || fail "A's save lost B's result for level 32: $(best 32)"
[[ $(best 33) == "$moves33" ]] || fail "A's result for level 33 was not saved: $(best 33)"
[[ -s "$work/a.err" || -s "$work/b.err" ]] && fail "stderr: $(cat "$work/a.err" "$work/b.err")"

# The file held locked for 60 s: the window within 15 s, the player told once, and the
# stored results intact after the game has quit once the lock is gone.
"$holder" lock "$hive" 60 >"$work/holder.out" &
holder_pid=$!
for _ in $(seq 50); do grep -q locked "$work/holder.out" 2>/dev/null && break; sleep 0.1; done
grep -q locked "$work/holder.out" || fail "the hive could not be locked"
started=$(date +%s%N)
start_game "$game"
notice=$(window_of "$game_pid" "Travoli" dialog)
waited=$((($(date +%s%N) - started) / 1000000))
((waited < 15000)) || fail "the first window took $waited ms"
echo "locked hive: first window after $waited ms"
shot locked-notice
xdotool windowfocus --sync "$notice" key Return
click "$(window_of "$game_pid" "Travoli V2.1")" 190 29  # nothing was read: the language question
click "$(window_of "$game_pid" "Zanfir Bytes - Freeware-Info")" 190 451
window_of "$game_pid" "Travoli - level 1: unsolved" >/dev/null
wait "$holder_pid"
holder_pid=
quit "$game_pid"
game_pid=
[[ $(best 32) == 18 && $(best 33) == "$moves33" ]] ||
    fail "best results lost after the locked start: 32: $(best 32), 33: $(best 33)"
"$tool" settings get common level | grep -qx 33 || fail "the stored level was replaced"

# Ctrl+C (SIGINT) just after a level is solved: saved as at a session end, status 0.
"$tool" settings set common level 34
moves34=$("$tool" solve 34 | wc -l)
start_game "$game"
click "$(window_of "$game_pid" "Zanfir Bytes - Freeware-Info")" 190 451
solve "$game_pid" 34
kill -INT "$game_pid"
await_game_end "on SIGINT"
[[ $(best 34) == "$moves34" ]] || fail "the result solved before SIGINT was lost: $(best 34)"
[[ -s "$work/stderr" ]] && fail "stderr on SIGINT: $(cat "$work/stderr")"
echo "SIGINT: level 34 solved in $moves34 moves, saved"

# A hive that may not be written, as a user whom file modes bind: the quit asks, going back
# keeps the game, ending without saving ends it with status 0, and the file stays as it was.
export XDG_CONFIG_HOME="$work/read-only"
hive="$XDG_CONFIG_HOME/ZanfirGames/Travoli/registry.sqlite3"
mkdir -p "$XDG_CONFIG_HOME"
chmod 755 "$work"
(($(id -u) == 0)) && chown nobody: "$XDG_CONFIG_HOME"
unprivileged=$(dirname "${BASH_SOURCE[0]}")/../support/unprivileged.sh
"$unprivileged" "$tool" settings set common tongue 0
"$unprivileged" "$tool" settings set common level 7
chmod 444 "$hive"
before=$(sha256sum <"$hive")
start_game "$unprivileged" "$game"  # the game runs as a child of the wrapper: found by title
click "$(window "Zanfir Bytes - Freeware-Info")" 190 451
ask_to_quit() {
    click "$(window "Travoli - level 7: unsolved")" 100 16
    click "$(window "Travoli")" 78 81
    click "$(window "Zanfir Bytes - Freeware-Info")" 190 451
    choice=$(window "Travoli" dialog)
}
ask_to_quit
shot read-only-choice
xdotool windowfocus --sync "$choice" key Return  # the focus is on going back
window_gone "Travoli" "going back left the question open"
window "Travoli - level 7: unsolved" >/dev/null
ask_to_quit
xdotool windowfocus --sync "$choice" key shift+Tab Return  # "End without saving"
await_game_end "without saving"
[[ $(sha256sum <"$hive") == "$before" ]] || fail "the read-only hive changed"
[[ -s "$work/stderr" ]] && fail "stderr without saving: $(cat "$work/stderr")"
echo "read-only hive: ended through the question, the file unchanged"

# SIGTERM with a settings folder that cannot be made: errors on stderr, no dialog, gone
# within 2 s with a non-zero status.
export XDG_CONFIG_HOME="$work/unusable"
mkdir -p "$XDG_CONFIG_HOME"
echo "not a folder" >"$XDG_CONFIG_HOME/ZanfirGames"
start_game "$game"
click "$(window_of "$game_pid" "Travoli V2.1")" 190 29
click "$(window_of "$game_pid" "Zanfir Bytes - Freeware-Info")" 190 451
window_of "$game_pid" "Travoli - level 1: unsolved" >/dev/null
started=$(date +%s%N)
kill -TERM "$game_pid"
await_game_end "after SIGTERM, although nothing could be saved" 2 failed
echo "SIGTERM with unusable settings: gone after $((($(date +%s%N) - started) / 1000000)) ms"
grep -q "^travoli: Erzeugung von Schlüssel" "$work/stderr" ||
    fail "no error on stderr: $(cat "$work/stderr")"
echo "nothing-lost: passed"
