#!/usr/bin/env bash
# Starts the real game under Xvfb, answers its start dialogs, plays a few moves, takes
# screenshots, and quits through the quit dialog and the info dialog.
#   smoke_test.sh GAME OUTPUT_DIR
set -euo pipefail
game=$1
out=$2
mkdir -p "$out"
source "$(dirname "${BASH_SOURCE[0]}")/xvfb_session.sh"

start_xvfb
# Links go to a stand-in opener that writes down what it was given.
mkdir -p "$work/bin"
printf '#!/bin/sh\nprintf "%%s" "$*" >"%s/opened"\n' "$work" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH"
start_game "$game"
answer_start_dialogs

main=$(window "Travoli - level 1: unsolved")
# Level 1: four crosses move round the hole, then a refused press on a corner.
for cell in "167 122" "89 122" "89 201" "167 201" "89 122"; do
    click "$main" $cell
done
shot game

# The marquee moves on its own; a click on it opens the maker's homepage.
corner=$(xwininfo -id "$main" | sed -n 's/.*Absolute upper-left [XY]: *//p' | tr '\n' ' ')
read -r cx cy <<<"$corner"
band() { /usr/bin/import -window root -crop "337x15+$cx+$((cy + 370))" +repage "$out/$1.png"; }
band marquee-1
for _ in $(seq 30); do
    sleep 0.1
    band marquee-2
    difference=$(/usr/bin/compare -metric AE "$out/marquee-1.png" "$out/marquee-2.png" null: 2>&1 || true)
    [[ "$difference" != 0 ]] && break
done
[[ "$difference" != 0 ]] || fail "the marquee did not move in 3 s"
click "$main" 300 377
for _ in $(seq 30); do [[ -s "$work/opened" ]] && break; sleep 0.1; done
[[ "$(cat "$work/opened" 2>/dev/null)" == "http://zanfir.example/" ]] ||
    fail "a click on the marquee opened '$(cat "$work/opened" 2>/dev/null)'"

quit_through_dialog "$main"
check_clean_end
echo "smoke: passed; screenshots in $out"
