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
xvfb_session_name=persistence
source "$(dirname "${BASH_SOURCE[0]}")/xvfb_session.sh"

cell() {  # window column row
    click "$1" $((89 + 78 * $2)) $((122 + 79 * $3))
}
end_game() {  # through the quit and the info dialog; nothing may have been said on stderr
    quit_through_dialog "$1"
    check_clean_end
}

start_xvfb
# First run: German, level 32 solved in 18 moves, background 1, sound off, window moved.
start_game "$game"
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
settle "$main"
# Under a window manager the frame is what is saved and restored.
read -r left top width height <<<"$(frame "$main")"
end_game "$main"

"$tool" settings get common back | grep -qx 1 || fail "background not saved"
"$tool" settings get common sound | grep -qx 0 || fail "sound switch not saved"
"$tool" settings get common tongue | grep -qx 1 || fail "language not saved"
"$tool" settings get common MainForm |
    grep -q "^200,[0-9]*,1,$left,$top,$((left + width)),$((top + height))\$" ||
    fail "window position not saved: $("$tool" settings get common MainForm)"

# Second run: no language question, everything as it was left.
start_game "$game"
click "$(window "Zanfir Bytes - Freeware-Info")" 190 451
main=$(window "Travoli - Stufe 32: 18 Züge")
read -r l t _ _ <<<"$(frame "$main")"
[[ "$l,$t" == "$left,$top" ]] || fail "the window did not come back to $left,$top but to $l,$t"
/usr/bin/import -window root "$out/second-run.png"
end_game "$main"
"$tool" settings get common level | grep -qx 32 || fail "level not saved"

# Third run, ended by SIGTERM (the desktop session going down): saved without questions.
start_game "$game"
click "$(window "Zanfir Bytes - Freeware-Info")" 190 451
main=$(window "Travoli - Stufe 32: 18 Züge")
xdotool windowfocus --sync "$main"
xdotool key --window "$main" Right
window "Travoli - Stufe 33: ungelöst" >/dev/null
kill -TERM "$game_pid"
wait "$game_pid" || fail "the game ended with status $? on SIGTERM"
check_clean_end
"$tool" settings get common level | grep -qx 33 || fail "level not saved on SIGTERM"
"$tool" settings get common MainForm | grep -q ",$left,$top," || fail "position not saved on SIGTERM"

# A damaged settings file is moved aside, never lost, and the player is told.
hive="$XDG_CONFIG_HOME/ZanfirGames/Travoli/registry.sqlite3"
# SIGTERM while that notice is still open, before the main window: a session end all the same.
echo "this is not a database" >"$hive"
start_game "$game"
window "Travoli" dialog >/dev/null
kill -TERM "$game_pid"
await_game_end "after SIGTERM at the notice" 2
check_clean_end
rm -f "$hive".damaged-*
echo "this is not a database" >"$hive"
start_game "$game"
notice=$(window "Travoli" dialog)
/usr/bin/import -window root "$out/damaged-notice.png"
xdotool windowfocus --sync "$notice" key Return
click "$(window "Travoli V2.1")" 190 29  # a fresh hive: the language question again
click "$(window "Zanfir Bytes - Freeware-Info")" 190 451
window "Travoli - level 1: unsolved" >/dev/null
kill -TERM "$game_pid"
wait "$game_pid" || fail "the game ended with status $?"
check_clean_end
moved=$(ls "$hive".damaged-* 2>/dev/null | head -n1)
[[ -n "$moved" ]] || fail "the damaged file was not kept"
grep -qx "this is not a database" "$moved" || fail "the damaged file's contents changed"
echo "persistence: passed"
