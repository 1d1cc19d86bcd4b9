#!/usr/bin/env bash
# Shared set-up of play.sh and test.sh: installs the Debian packages that are missing and
# configures and builds one CMake preset, its progress on one line. Quiet when there is
# nothing to install.
#   scripts/bootstrap.sh PRESET
# The preset "play" needs packages.txt and builds the game alone; every other preset also
# needs packages-test.txt and builds everything.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
preset=${1:-default}
log_dir="$root/build-logs"

die() {
    end_status_line
    echo "travoli: $*" >&2
    exit 1
}

# One line that each step overwrites on a terminal; elsewhere (a log) only the last one stays.
status_open=
status_line() {
    if [[ -t 1 ]]; then
        printf '\r\033[Ktravoli: %s' "$1"
        status_open=1
    fi
}
end_status_line() {
    if [[ -n $status_open ]]; then
        printf '\n'
        status_open=
    fi
}

package_lists=("$root/scripts/packages.txt")
[[ $preset == play ]] || package_lists+=("$root/scripts/packages-test.txt")

install_missing() {
    local wanted=() missing=() package
    while read -r package _; do
        [[ -z "$package" || "$package" == \#* ]] && continue
        wanted+=("$package")
    done < <(cat "${package_lists[@]}")
    for package in "${wanted[@]}"; do
        dpkg-query -W -f='${Status}\n' "$package" 2>/dev/null | grep -q '^install ok installed$' ||
            missing+=("$package")
    done
    ((${#missing[@]} == 0)) && return 0

    command -v apt-get >/dev/null || die "apt-get not found; install these packages by hand: ${missing[*]}"
    local sudo=()
    if [[ $(id -u) -ne 0 ]]; then
        command -v sudo >/dev/null || die "root or sudo is needed to install: ${missing[*]}"
        sudo=(sudo)
    fi
    mkdir -p "$log_dir"
    echo "travoli: installing ${#missing[@]} Debian packages: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq >"$log_dir/apt-update.log" 2>&1 ||
        die "apt-get update failed (see $log_dir/apt-update.log)"
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq -o DPkg::Lock::Timeout=600 \
        "${missing[@]}" >"$log_dir/apt-install.log" 2>&1 ||
        die "could not install the packages ($(grep -m1 -E '^E:' "$log_dir/apt-install.log" || echo 'see log')); full log: $log_dir/apt-install.log"
}

configure() {
    local log="$log_dir/configure-$preset.log"
    # The game alone reuses a build tree that test.sh configured for everything: building
    # its targets there needs no new configuration.
    if [[ $preset == play && -f $root/build/CMakeCache.txt ]]; then
        return 0
    fi
    status_line "configuring the '$preset' build"
    cmake -S "$root" --preset "$preset" >"$log" 2>&1 ||
        { end_status_line; cat "$log" >&2; die "configuring the '$preset' build failed"; }
}

# Ninja's "[done/total]" lines become "step i of n" on the status line.
show_progress() {
    local line last=
    while IFS= read -r line; do
        if [[ $line =~ ^\[([0-9]+)/([0-9]+)\] ]]; then
            last="step ${BASH_REMATCH[1]} of ${BASH_REMATCH[2]}"
            status_line "building the '$preset' build, $last"
        fi
    done
    end_status_line
    [[ -t 1 || -z $last ]] || echo "travoli: built the '$preset' build, $last"
}

build() {
    local log="$log_dir/build-$preset.log"
    status_line "building the '$preset' build"
    if ! NINJA_STATUS='[%f/%t] ' cmake --build --preset "$preset" 2>&1 | tee "$log" | show_progress; then
        grep -E -A5 'error|FAILED' "$log" | head -n 60 >&2
        die "the '$preset' build failed (full log: $log)"
    fi
}

cd "$root"
install_missing
mkdir -p "$log_dir"
configure
build
