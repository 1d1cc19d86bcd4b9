#!/usr/bin/env bash
# Builds the Debian package from this tree with dpkg-buildpackage and checks it as Debian and a
# player would: lintian on the .changes (source and binary packages) with no error and no
# warning, hardening-check on both programs, the declared dependencies, the unpacked files;
# then installs it with apt-get, starts the installed game from its desktop entry's Exec line
# under Xvfb, quits it through its dialogs, removes the package again and checks that no file
# of it is left.
#   deb_smoke.sh BUILD_DIR [OUTPUT_DIR]     (OUTPUT_DIR defaults to BUILD_DIR/deb-smoke)
#
# The package is built from a copy of the tree's files (what git tracks and does not ignore),
# with DEB_BUILD_OPTIONS="nocheck parallel=2" unless the caller sets them: the game alone, since
# ./test.sh runs the tests itself.
#
# Installing needs root (or sudo, as in scripts/bootstrap.sh). Where neither is at hand, or a
# travoli package is already installed (it is left alone), the unpacked game is started
# instead and the install is reported as skipped.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source_root=$(cd "$here/.." && pwd)
(($# >= 1)) || { echo "usage: deb_smoke.sh BUILD_DIR [OUTPUT_DIR]" >&2; exit 2; }
mkdir -p "$1"
build=$(cd "$1" && pwd)
out=${2:-$build/deb-smoke}
mkdir -p "$out"
out=$(cd "$out" && pwd)
xvfb_session_name=deb_smoke
source "$here/../tests/ui/xvfb_session.sh"
started=$SECONDS

# The package, from a copy of the tree: dpkg-buildpackage writes into the tree and beside it.
version=$(dpkg-parsechangelog -l "$source_root/debian/changelog" -S Version)
rm -rf "$out/dpkg"
tree=$out/dpkg/travoli-$version
mkdir -p "$tree"
if git -C "$source_root" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    (cd "$source_root" && git ls-files -z --cached --others --exclude-standard |
        while IFS= read -r -d '' path; do [[ -e $path ]] && printf '%s\0' "$path"; done |
        tar --null -T - -cf -) | tar -C "$tree" -xf -
else
    tar -C "$source_root" --exclude='./build*' -cf - . | tar -C "$tree" -xf -
fi
# What the build needs here, the source package must ask for too: elsewhere nothing else
# installs it (build-essential and dpkg-dev come with every Debian build).
declared=$(awk '/^Build-Depends:/ { on = 1; sub(/^Build-Depends:/, ""); print; next }
    on && /^[ \t]/ { print; next } { on = 0 }' "$source_root/debian/control" |
    sed -E 's/<[^>]*>//g; s/\([^)]*\)//g' | tr ',' '\n' | tr -d ' \t')
for needed in $(sed 's/#.*//' "$source_root/scripts/packages.txt"); do
    case $needed in build-essential | dpkg-dev) continue ;; esac
    grep -Fxq "$needed" <<<"$declared" || fail "debian/control does not build-depend on $needed"
done
(cd "$tree" && DEB_BUILD_OPTIONS=${DEB_BUILD_OPTIONS-nocheck parallel=2} \
    dpkg-buildpackage -us -uc -Pnocheck) >"$out/dpkg-buildpackage.log" 2>&1 ||
    fail "dpkg-buildpackage failed: $(grep -m3 -E 'error|Error|dpkg-checkbuilddeps' "$out/dpkg-buildpackage.log" || tail -n 5 "$out/dpkg-buildpackage.log")"
arch=$(dpkg-architecture -q DEB_HOST_ARCH)
deb=$out/dpkg/travoli_${version}_$arch.deb
changes=$out/dpkg/travoli_${version}_$arch.changes
[[ -f $deb && -f $changes ]] || fail "dpkg-buildpackage made no $(basename "$deb") and $(basename "$changes")"
packed=$SECONDS
field() { dpkg-deb --field "$deb" "$1"; }
[[ $(field Package) == travoli ]] || fail "the package is named '$(field Package)'"
depends=$(field Depends)
echo "deb_smoke: $(basename "$deb"), $(($(stat -c %s "$deb") / 1024)) KiB, built by dpkg-buildpackage in $((packed - started)) s"
echo "deb_smoke: Depends: $depends"

# The libraries dpkg-shlibdeps must have found, and what is loaded at run time besides.
named=$(tr ',|' '\n\n' <<<"$depends" | sed -E 's/\(.*//; s/:any//; s/[[:space:]]//g')
for needed in libqt6widgets6 libqt6gui6 libqt6core6 libsdl2-2.0-0 libsqlite3-0 libstdc++6 \
    libxcb1 libxcb-randr0 qt6-qpa-plugins fonts-liberation; do
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

[[ $(field Recommends) == *qt6-wayland* ]] || fail "the package does not recommend qt6-wayland"

# Only the files we mean to ship, all below /usr.
stray=$(dpkg-deb --contents "$deb" | awk '{print $6}' | grep -Ev '^\./(usr/?)?$|^\./usr/(games|share)/' || true)
[[ -z $stray ]] || fail "the package ships files outside usr/games and usr/share: $stray"

# Debian's own checks: the source and binary packages against the policy, the programs'
# hardening. (As root, lintian says on stderr that it should not be; the tags come on stdout.)
lintian --fail-on error,warning "$changes" >"$out/lintian.txt" 2>"$out/lintian.stderr" ||
    { cat "$out/lintian.txt" "$out/lintian.stderr" >&2; fail "lintian found errors or warnings"; }
echo "deb_smoke: lintian on $(basename "$changes"): no errors, no warnings ($(($SECONDS - packed)) s)"

root=$out/root
rm -rf "$root"
dpkg -x "$deb" "$root"
unset LD_LIBRARY_PATH
"$here/check_install.sh" "$root" >/dev/null || fail "the unpacked package is incomplete"
# Control flow protection cannot be had on Debian 12: glibc's start files (Scrt1.o, crti.o)
# carry no IBT/SHSTK property, so the linker drops it from every program (Debian's own
# sgt-puzzles fail that check alike). The rest, dpkg-buildflags' hardening, must all be there.
for program in travoli travoli-tool; do
    hardening-check --nocfprotection "$root/usr/games/$program" >"$out/hardening-$program.txt" 2>&1 ||
        { cat "$out/hardening-$program.txt" >&2; fail "hardening-check fails usr/games/$program"; }
done
echo "deb_smoke: hardening-check: both programs pass"

# Install it as a player would, unless that is not ours to do here.
sudo=()
install=1
if [[ $(id -u) -ne 0 ]]; then
    if command -v sudo >/dev/null; then sudo=(sudo); else install=; fi
fi
if dpkg-query -W -f='${Status}' travoli 2>/dev/null | grep -q 'ok installed'; then
    echo "deb_smoke: SKIPPED installing: a travoli package is installed on this machine already"
    install=
elif [[ -z $install ]]; then
    echo "deb_smoke: SKIPPED installing: it needs root or sudo"
fi
installed=
remove_package() {
    [[ -n $installed ]] || return 0
    installed=
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get remove -y -o DPkg::Lock::Timeout=600 travoli \
        >"$out/apt-remove.log" 2>&1
}
# Removed also when a check below fails, ahead of the Xvfb session's own clean-up.
eval "session_exit=($(trap -p EXIT))"
trap "remove_package || true; ${session_exit[2]}" EXIT

if [[ -n $install ]]; then
    installed=1
    (cd "$(dirname "$deb")" && DEBIAN_FRONTEND=noninteractive "${sudo[@]}" \
        apt-get install -y -o DPkg::Lock::Timeout=600 "./$(basename "$deb")") >"$out/apt-install.log" 2>&1 ||
        fail "apt-get install $(basename "$deb") failed: $(grep -m3 -E '^E:' "$out/apt-install.log")"
    dpkg-query -L travoli >"$out/installed-files.txt"
    desktop_entry=/usr/share/applications/example.zanfir.Travoli.desktop
    [[ -f $desktop_entry ]] || fail "the installed package has no $desktop_entry"
    # The Exec line, without the field codes a launcher would fill in.
    read -r -a command <<<"$(sed -n 's/^Exec=//p' "$desktop_entry" | head -n1 | sed -E 's/ %[a-zA-Z]//g')"
    what="installed game ('${command[*]}' from the desktop entry)"
else
    command=("$root/usr/games/travoli")
    what="unpacked game"
fi

# One real start, from a folder that has nothing of the build.
cd "$work"
start_xvfb
start_game "${command[@]}"
answer_start_dialogs
main=$(window "Travoli - level 1: unsolved")
shot installed-game
quit_through_dialog "$main"
check_clean_end
echo "deb_smoke: the $what started and quit through its dialogs"

if [[ -n $install ]]; then
    remove_package || fail "apt-get remove travoli failed: $(tail -n 3 "$out/apt-remove.log")"
    status=$(dpkg-query -W -f='${Status}' travoli 2>/dev/null || true)
    [[ -z $status || $status == *not-installed ]] || fail "after apt-get remove travoli is '$status'"
    left=()
    while read -r path; do
        [[ -d $path ]] && continue
        [[ -e $path || -L $path ]] && left+=("$path")
    done <"$out/installed-files.txt"
    [[ -d /usr/share/doc/travoli ]] && left+=(/usr/share/doc/travoli/)
    ((${#left[@]} == 0)) || fail "apt-get remove left files of the package behind: ${left[*]}"
    echo "deb_smoke: apt-get install, start and apt-get remove passed; no file of the package is left"
fi
echo "deb_smoke: passed in $((SECONDS - started)) s; package and screenshots in $out"
