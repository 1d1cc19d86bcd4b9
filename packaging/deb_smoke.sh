#!/usr/bin/env bash
# Builds the Debian package from a finished build, unpacks it into a throw-away root and
# checks it there: declared dependencies, installed files, and one real start of the
# installed game under Xvfb (start dialogs answered, quit through the quit dialog).
#   deb_smoke.sh BUILD_DIR [OUTPUT_DIR]     (OUTPUT_DIR defaults to BUILD_DIR/deb-smoke)
#
# The package is unpacked with dpkg -x rather than installed with dpkg -i: the check needs
# no root, and the machine, which later runs and sessions reuse, is left as it was. Whether
# dpkg -i would succeed is checked instead by testing each Depends clause against the
# packages installed here.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
(($# >= 1)) || { echo "usage: deb_smoke.sh BUILD_DIR [OUTPUT_DIR]" >&2; exit 2; }
build=$(cd "$1" && pwd)
out=${2:-$build/deb-smoke}
mkdir -p "$out"
out=$(cd "$out" && pwd)
xvfb_session_name=deb_smoke
source "$here/../tests/ui/xvfb_session.sh"
started=$SECONDS

[[ -f $build/CPackConfig.cmake ]] || fail "$build is no configured build (no CPackConfig.cmake)"
[[ -x $build/ui/travoli ]] || fail "$build has no built game (ui/travoli); build it first"

# The package.
rm -rf "$out/cpack"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out/cpack" >"$out/cpack.log" 2>&1 ||
    fail "cpack failed: $(grep -m3 -E 'Error|error' "$out/cpack.log" || tail -n 5 "$out/cpack.log")"
debs=("$out"/cpack/*.deb)
((${#debs[@]} == 1)) && [[ -f ${debs[0]} ]] || fail "cpack made no single .deb in $out/cpack"
deb=${debs[0]}
packed=$SECONDS
field() { dpkg-deb --field "$deb" "$1"; }
[[ $(field Package) == travoli ]] || fail "the package is named '$(field Package)'"
depends=$(field Depends)
echo "deb_smoke: $(basename "$deb"), $(($(stat -c %s "$deb") / 1024)) KiB, built in $((packed - started)) s"
echo "deb_smoke: Depends: $depends"

# The libraries dpkg-shlibdeps must have found, and what is loaded at run time besides.
named=$(tr ',|' '\n\n' <<<"$depends" | sed -E 's/\(.*//; s/:any//; s/[[:space:]]//g')
for needed in libqt6widgets6 libqt6gui6 libqt6core6 libsdl2-2.0-0 libsqlite3-0 libstdc++6 \
    qt6-qpa-plugins fonts-liberation; do
    grep -Fxq "$needed" <<<"$named" || fail "the package does not depend on $needed"
done

# Every Depends clause is met by a package installed here, version included: dpkg -i of
# this .deb would go through on this machine.
satisfied() {  # one alternative: "name" or "name (op version)"
    local name op version installed
    read -r name op version <<<"$(sed -E 's/[()]//g' <<<"$1")"
    name=${name%:any}
    installed=$(dpkg-query -W -f='${Status} ${Version}\n' "$name" 2>/dev/null |
        sed -n 's/^install ok installed //p' | head -n1)
    [[ -n $installed ]] || return 1
    [[ -z $op ]] && return 0
    dpkg --compare-versions "$installed" "$op" "$version"
}
IFS=',' read -r -a clauses <<<"$depends"
for clause in "${clauses[@]}"; do
    IFS='|' read -r -a alternatives <<<"$clause"
    met=
    for alternative in "${alternatives[@]}"; do
        satisfied "$(xargs <<<"$alternative")" && { met=1; break; }
    done
    [[ -n $met ]] || fail "no installed package satisfies the dependency '$(xargs <<<"$clause")'"
done

# Only the files we mean to ship, all below /usr.
stray=$(dpkg-deb --contents "$deb" | awk '{print $6}' | grep -Ev '^\./(usr/?)?$|^\./usr/(bin|share)/' || true)
[[ -z $stray ]] || fail "the package ships files outside usr/bin and usr/share: $stray"

root=$out/root
rm -rf "$root"
dpkg -x "$deb" "$root"
unset LD_LIBRARY_PATH
"$here/check_install.sh" "$root" >/dev/null || fail "the unpacked package is incomplete"

# One real start of the installed game, from a folder that has nothing of the build.
cd "$work"
start_xvfb
start_game "$root/usr/bin/travoli"
answer_start_dialogs
main=$(window "Travoli - level 1: unsolved")
shot installed-game
quit_through_dialog "$main"
check_clean_end
echo "deb_smoke: passed in $((SECONDS - started)) s; package and screenshots in $out"
