#!/usr/bin/env bash
# Checks an installed Travoli as a desktop sees it: binaries that run on the system's
# libraries in /usr/games, a valid desktop entry and metainfo that name each other, the theme
# icon at every size it is promised in, and manual pages that render cleanly and cover every
# command of travoli-tool.
#   check_install.sh ROOT                       a tree with ROOT/usr/games/travoli (dpkg -x, DESTDIR)
#   check_install.sh --install BUILD_DIR WORK [--uninstall]
#                                               installs BUILD_DIR into WORK/root first; with
#                                               --uninstall takes it away again at the end with
#                                               BUILD_DIR/uninstall.cmake, which must leave nothing
set -euo pipefail

app_id=example.zanfir.Travoli

fail() {
    echo "check_install: $*" >&2
    exit 1
}

# The sizes the build renders and installs, as the top CMakeLists.txt states them.
read -ra icon_sizes < <(sed -n 's/^set(TRAVOLI_ICON_SIZES \(.*\))$/\1/p' "$(dirname "$0")/../CMakeLists.txt")
((${#icon_sizes[@]} > 0)) || fail "no icon sizes in CMakeLists.txt"

if [[ ${1:-} == --install ]]; then
    (($# == 3 || $# == 4)) || fail "usage: check_install.sh --install BUILD_DIR WORK_DIR [--uninstall]"
    build=$2
    work=$3
    uninstall=${4:-}
    root=$3/root
    rm -rf "$root"
    mkdir -p "$root"
    DESTDIR=$root cmake --install "$build" --prefix /usr >"$3/install.log" 2>&1 ||
        fail "cmake --install failed: $(tail -n 5 "$3/install.log")"
else
    (($# == 1)) || fail "usage: check_install.sh ROOT | --install BUILD_DIR WORK_DIR"
    root=$1
fi
usr=$root/usr
[[ -d $usr ]] || fail "no usr/ in $root"

# Binaries: in Debian's place for games, and loading only the system's libraries.
for binary in travoli travoli-tool; do
    path=$usr/games/$binary
    [[ -x $path ]] || fail "missing or not executable: usr/games/$binary"
    if readelf -d "$path" | grep -Eq '\((RPATH|RUNPATH)\)'; then
        fail "usr/games/$binary keeps a library path: $(readelf -d "$path" | grep -E 'R(UN)?PATH')"
    fi
    missing=$(env -u LD_LIBRARY_PATH ldd "$path" | grep 'not found' || true)
    [[ -z $missing ]] || fail "usr/games/$binary needs libraries that are not there: $missing"
done
help=$(env -u LD_LIBRARY_PATH "$usr/games/travoli-tool" --help 2>&1) ||
    fail "usr/games/travoli-tool --help did not run"

# The manual pages: compressed, rendered without a warning, and travoli-tool's page naming
# every command its --help lists.
man6=$usr/share/man/man6
for page in travoli travoli-tool; do
    [[ -f $man6/$page.6.gz ]] || fail "missing manual page usr/share/man/man6/$page.6.gz"
    gzip -t "$man6/$page.6.gz" 2>/dev/null || fail "man6/$page.6.gz is not gzip-compressed"
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$man6/$page.6.gz" 2>&1 >/dev/null) ||
        fail "man cannot render man6/$page.6.gz: $warnings"
    [[ -z $warnings ]] || fail "man6/$page.6.gz renders with warnings: $warnings"
done
synopsis=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l -P cat "$man6/travoli-tool.6.gz" 2>/dev/null | col -b |
    sed -n '/^SYNOPSIS/,/^DESCRIPTION/p')
for command in $(sed -n 's/^  \([a-z][a-z]*\) .*/\1/p' <<<"$help"); do
    grep -q "travoli-tool $command" <<<"$synopsis" ||
        fail "the manual page of travoli-tool does not show the command '$command'"
done

# The desktop entry.
desktop=$usr/share/applications/$app_id.desktop
[[ -f $desktop ]] || fail "missing usr/share/applications/$app_id.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $app_id.desktop"
entry() { sed -n "s/^$1=//p" "$desktop" | head -n1; }
exec_line=$(entry Exec)
[[ ${exec_line%% *} == /usr/games/travoli && -x $root${exec_line%% *} ]] ||
    fail "the desktop entry starts '${exec_line%% *}', not the installed /usr/games/travoli"
icon=$(entry Icon)
[[ $icon == "$app_id" ]] || fail "the desktop entry's icon is '$icon', not '$app_id'"
grep -q '^Categories=.*\bGame;.*LogicGame;' "$desktop" ||
    fail "the desktop entry is not in the categories Game and LogicGame"

# The theme icons: each PNG really has the size of its folder; the SVG is one.
for size in "${icon_sizes[@]}"; do
    png=$usr/share/icons/hicolor/${size}x${size}/apps/$icon.png
    [[ -f $png ]] || fail "missing icon ${size}x${size}/apps/$icon.png"
    found=$(/usr/bin/identify -format '%m %wx%h' "$png" 2>/dev/null) ||
        fail "${size}x${size}/apps/$icon.png is not a readable picture"
    [[ $found == "PNG ${size}x${size}" ]] ||
        fail "${size}x${size}/apps/$icon.png is $found, not PNG ${size}x${size}"
done
svg=$usr/share/icons/hicolor/scalable/apps/$icon.svg
[[ -f $svg ]] || fail "missing icon scalable/apps/$icon.svg"
grep -q '<svg' "$svg" || fail "scalable/apps/$icon.svg is no SVG"

# The metainfo: valid, about this component, launching the installed entry.
metainfo=$usr/share/metainfo/$app_id.metainfo.xml
[[ -f $metainfo ]] || fail "missing usr/share/metainfo/$app_id.metainfo.xml"
report=$(appstreamcli validate --no-net "$metainfo" 2>&1) ||
    { echo "$report" >&2; fail "appstreamcli rejects the metainfo"; }
tag() { sed -n "s:.*<$1[^>]*>\([^<]*\)</$1>.*:\1:p" "$metainfo"; }
[[ $(tag id) == "$app_id" ]] || fail "the metainfo's id is '$(tag id)', not '$app_id'"
launchable=$(tag launchable)
[[ -f $usr/share/applications/$launchable ]] ||
    fail "the metainfo launches '$launchable', which is not installed"
for binary in $(tag binary); do
    [[ -x $usr/games/$binary ]] || fail "the metainfo provides '$binary', which is not in usr/games"
done

completion=$usr/share/bash-completion/completions/travoli-tool
[[ -f $completion ]] || fail "missing usr/share/bash-completion/completions/travoli-tool"
bash -n "$completion" || fail "the bash completion of travoli-tool is no valid bash"

[[ -s $usr/share/doc/travoli/copyright ]] || fail "missing usr/share/doc/travoli/copyright"
gzip -t "$usr/share/doc/travoli/changelog.gz" 2>/dev/null ||
    fail "missing or broken usr/share/doc/travoli/changelog.gz"

# AppStream's own view of the whole tree: entry, metainfo and icons together.
report=$(appstreamcli validate-tree --no-net "$root" 2>&1) ||
    { echo "$report" >&2; fail "appstreamcli validate-tree rejects the installed tree"; }

if [[ ${uninstall:-} == --uninstall ]]; then
    DESTDIR=$root cmake -P "$build/uninstall.cmake" >>"$work/install.log" 2>&1 ||
        fail "uninstall.cmake failed: $(tail -n 3 "$work/install.log")"
    left=$(find "$root" -mindepth 1 | head -n 5)
    [[ -z $left ]] || fail "the uninstall left behind: $left"
fi
echo "check_install: $root is complete"
