#!/usr/bin/env bash
# Plays the real game under Xvfb, ends it through its dialogs, starts it again and checks
# that the level, background, sound switch, language, best result and window position
# came back.
#   persistence_test.sh GAME TOOL OUTPUT_DIR
set -euo pipefail
game=$1
tool=$2
out=$3
mkdir -p "$out"
work=$(mktemp -d)
trap 'kill "${game_pid:-}" "${xvfb_pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT

fail() {
    echo "persistence: $*" >&2
    exit 1
}

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 50); do [[ -s "$work/display" ]] && break; sleep 0.1; done
[[ -s "$work/display" ]] || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" SDL_AUDIODRIVER=dummy
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM

start_game() {
    "$game" >>"$work/stdout" 2>>"$work/stderr" &
    game_pid=$!
}
window() {  # the visible window with exactly this title
    local id
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 || true)
        [[ -n "$id" ]] && { echo "$id"; return 0; }
        kill -0 "$game_pid" 2>/dev/null || fail "the game ended early: $(cat "$work/stderr")"
        sleep 0.1
    done
    fail "no window titled '$1'"
}
click() {  # window x y, in client coordinates
    xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 0.15
}
cell() {  # window column row
    click "$1" $((89 + 78 * $2)) $((122 + 79 * $3))
}
end_game() {  # answers the quit and the info dialog, waits for the end
    click "$1" 100 16
    click "$(window "Travoli")" 78 81
    click "$(window "Zanfir Bytes - Freeware-Info")" 190 451
    for _ in $(seq 50); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
    wait "$game_pid" || fail "the game ended with status $?"
}

# First run: German, level 32 solved in 18 moves, background 1, sound off, window moved.
start_game
click "$(window "Travoli V2.1")" 190 61  # "Ich spreche deutsch."
click "$(window "Zanfir Bytes - Freeware-Info")" 190 451
main=$(window "Travoli - Stufe 1: ungelöst")
xdotool windowfocus --sync "$main"
xdotool key --window "$main" Next Next Next Right  # 1 + 3 x 10 + 1
main=$(window "Travoli - Stufe 32: ungelöst")
for press in "1 2" "0 1" "1 0" "1 1" "0 0" "1 0" "2 1" "2 2" "1 1" "2 0" "2 1" "1 2" "0 1" \
    "0 2" "1 1" "0 1" "1 0" "1 1"; do
    cell "$main" $press
done
click "$(window "Travoli")" 130 81  # the result dialog's OK
window "Travoli - Stufe 32: 18 Züge" >/dev/null
click "$main" 20 200                # beside the board: the next background
click "$main" 72 16                 # SoundBtn: off
xdotool windowmove --sync "$main" 120 90
sleep 0.3
end_game "$main"

"$tool" settings get common back | grep -qx 1 || fail "background not saved"
"$tool" settings get common sound | grep -qx 0 || fail "sound switch not saved"
"$tool" settings get common tongue | grep -qx 1 || fail "language not saved"
"$tool" settings get common MainForm | grep -q '^200,[0-9]*,1,120,90,457,475$' ||
    fail "window position not saved: $("$tool" settings get common MainForm)"

# Second run: no language question, everything as it was left.
start_game
click "$(window "Zanfir Bytes - Freeware-Info")" 190 451
main=$(window "Travoli - Stufe 32: 18 Züge")
geometry=$(xdotool getwindowgeometry "$main" | tr '\n' ' ')
[[ "$geometry" == *"Position: 120,90 "* ]] || fail "the window did not come back to 120,90: $geometry"
sleep 0.3
/usr/bin/import -window root "$out/second-run.png"
end_game "$main"
"$tool" settings get common level | grep -qx 32 || fail "level not saved"
[[ -s "$work/stderr" ]] && fail "the game wrote to stderr: $(cat "$work/stderr")"
echo "persistence: passed"
