#!/usr/bin/env bash
# Shared set-up of play.sh and test.sh: installs the Debian packages that are missing and
# configures and builds one CMake preset. Quiet when there is nothing to install.
#   scripts/bootstrap.sh PRESET
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
preset=${1:-default}
log_dir="$root/build-logs"

die() {
    echo "travoli: $*" >&2
    exit 1
}

install_missing() {
    local wanted=() missing=() package
    while read -r package _; do
        [[ -z "$package" || "$package" == \#* ]] && continue
        wanted+=("$package")
    done <"$root/scripts/packages.txt"
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
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}" \
        >"$log_dir/apt-install.log" 2>&1 ||
        die "could not install the packages ($(grep -m1 -E '^E:' "$log_dir/apt-install.log" || echo 'see log')); full log: $log_dir/apt-install.log"
}

build_preset() {
    mkdir -p "$log_dir"
    cmake -S "$root" --preset "$preset" >"$log_dir/configure-$preset.log" 2>&1 ||
        { cat "$log_dir/configure-$preset.log" >&2; die "configuring the '$preset' build failed"; }
    cmake --build --preset "$preset" >"$log_dir/build-$preset.log" 2>&1 ||
        { grep -E -A5 'error|FAILED' "$log_dir/build-$preset.log" | head -n 60 >&2; die "the '$preset' build failed (full log: $log_dir/build-$preset.log)"; }
}

cd "$root"
install_missing
build_preset
