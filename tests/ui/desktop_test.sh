#!/usr/bin/env bash
# The real game under a real window manager (TRAVOLI_TEST_WM: openbox, xfwm4): every
# dialog on its first showing where the placement rule puts it, by outer (framed)
# rectangles; every caption as the window manager reads it; then the window moved and the
# game started five more times: its frame must come back to the same corner each time.
#   desktop_test.sh GAME TOOL OUTPUT_DIR
set -euo pipefail
game=$1
tool=$2
out=$3
mkdir -p "$out"
xvfb_session_name="desktop ${TRAVOLI_TEST_WM:-without a window manager}"
source "$(dirname "${BASH_SOURCE[0]}")/xvfb_session.sh"


# The window with this caption, once its frame has settled; its caption is checked too.
settled() {  # caption
    local id
    id=$(window "$1")
    check_caption "$id" "$1"
    echo "$id"
}
main_window() {
    local id
    id=$(window "$1")
    check_caption "$id" "$1"
    echo "$id"
}

start_xvfb
"$tool" settings set common level 32 >/dev/null  # a level with a known short solution
start_game "$game"
main=$(xdotool search --sync --onlyvisible --name '^Travoli' | head -n1)

# First start: the language dialog, then the info dialog, each on its first showing.
dialog=$(settled "Travoli V2.1")
main=$(main_window "Travoli - level 32: unsolved")
check_over_main "$dialog" "$main" "the language dialog"
click "$dialog" 190 29
dialog=$(settled "Zanfir Bytes - Freeware-Info")
check_over_main "$dialog" "$main" "the info dialog"
shot info-dialog
click "$dialog" 190 451

# The rules dialog: centred on the screen by its outer size.
click "$main" 44 16
dialog=$(settled "Travoli")
read -r dl dt dw dh <<<"$(frame "$dialog")"
near "the rules dialog's left" "$dl" $(((1024 - dw) / 2))
near "the rules dialog's top" "$dt" $(((768 - dh) / 2))
click "$dialog" 230 305

# The give-up question after one move, answered yes; then the level solved: the result.
cell() { click "$main" $((89 + 78 * $1)) $((122 + 79 * $2)); }
cell 1 2
click "$main" 16 16
dialog=$(settled "Travoli")
check_over_main "$dialog" "$main" "the give-up dialog"
click "$dialog" 78 81
for press in "1 2" "0 1" "1 0" "1 1" "0 0" "1 0" "2 1" "2 2" "1 1" "2 0" "2 1" "1 2" "0 1" \
    "0 2" "1 1" "0 1" "1 0" "1 1"; do
    cell $press
done
dialog=$(settled "Travoli")
check_over_main "$dialog" "$main" "the result dialog"
shot result-dialog
click "$dialog" 130 81
main=$(main_window "Travoli - level 32: 18 moves")

# The player moves the window; the quit dialog follows it.
xdotool windowmove --sync "$main" 120 90
settle "$main"
read -r left top width height <<<"$(frame "$main")"
click "$main" 100 16
dialog=$(settled "Travoli")
check_over_main "$dialog" "$main" "the quit dialog"
click "$dialog" 78 81
click "$(window "Zanfir Bytes - Freeware-Info")" 190 451
for _ in $(seq 50); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
wait "$game_pid" || fail "the game ended with status $?"
check_clean_end
saved="200,0,1,$left,$top,$((left + width)),$((top + height))"
[[ $("$tool" settings get common MainForm) == "$saved" ]] ||
    fail "saved '$("$tool" settings get common MainForm)', not the frame '$saved'"

# Five more starts: the frame comes back to the same corner every time.
for session in 2 3 4 5 6; do
    start_game "$game"
    click "$(window "Zanfir Bytes - Freeware-Info")" 190 451
    main=$(window "Travoli - level 32: 18 moves")
    read -r l t _ _ <<<"$(frame "$main")"
    [[ "$l $t" == "$left $top" ]] || fail "start $session: the frame is at $l,$t, not $left,$top"
    quit_through_dialog "$main"
    check_clean_end
    [[ $("$tool" settings get common MainForm) == "$saved" ]] ||
        fail "start $session saved '$("$tool" settings get common MainForm)', not '$saved'"
done
shot last-start
echo "$xvfb_session_name: passed"
