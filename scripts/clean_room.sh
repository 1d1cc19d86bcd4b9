#!/usr/bin/env bash
# Runs ./test.sh as CI does (as root, CI=true, no standard input) in a new, minimal Debian 12
# root: whatever the tests need and the package lists miss shows up here, not in CI.
#   scripts/clean_room.sh [--keep] [--work DIR] [--branch NAME] [REPOSITORY]
# REPOSITORY (default: this checkout) is cloned as it is committed: its main branch, or the
# branch NAME with --branch. The root is built with mmdebstrap from the machine's own apt
# sources, in DIR (a new folder under /var/tmp unless --work, which must be new or empty),
# removed afterwards unless --keep; the run's log stays in /var/tmp/travoli-clean-room.log.
# Needs root. Not part of ./test.sh.
set -euo pipefail

keep=
work=
branch=main
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
while (($#)); do
    case $1 in
        --keep) keep=1 ;;
        --work) work=$2; shift ;;
        --branch) branch=$2; shift ;;
        -h | --help) sed -n '2,9s/^# \{0,1\}//p' "$0"; exit 0 ;;
        -*) echo "clean_room: unknown option '$1'" >&2; exit 2 ;;
        *) repo=$1 ;;
    esac
    shift
done
die() { echo "clean_room: $*" >&2; exit 1; }
[[ $(id -u) -eq 0 ]] || die "needs root (a chroot, mounts and apt-get inside it)"

if ! command -v mmdebstrap >/dev/null; then
    echo "clean_room: installing mmdebstrap"
    { apt-get update -qq -o DPkg::Lock::Timeout=600 &&
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -o DPkg::Lock::Timeout=600 \
            mmdebstrap; } >/var/tmp/travoli-clean-room-apt.log 2>&1 ||
        die "could not install mmdebstrap: $(tail -n 3 /var/tmp/travoli-clean-room-apt.log)"
fi
sources=/etc/apt/sources.list.d/debian.sources
[[ -f $sources ]] || sources=/etc/apt/sources.list
[[ -f $sources ]] || die "no apt sources on this machine to build the root from"

# The whole folder goes at the end: one given must hold nothing else.
if [[ -n $work && -e $work && -n $(ls -A "$work" 2>/dev/null) ]]; then
    die "--work $work is not empty: give a new or empty folder"
fi
work=${work:-$(mktemp -d /var/tmp/travoli-clean-room.XXXXXX)}
mkdir -p "$work"
root=$work/root
log=/var/tmp/travoli-clean-room.log
cleanup() {
    [[ -n $keep ]] && { echo "clean_room: kept $work"; return; }
    rm -rf --one-file-system "$work"
}
trap cleanup EXIT

started=$SECONDS
echo "clean_room: building a minimal Debian 12 root in $root"
# The machine's registry may serve a snapshot whose Release files have expired.
mmdebstrap --variant=minbase --mode=root \
    --aptopt='Acquire::Check-Valid-Until "false"' --aptopt='Acquire::Check-Date "false"' \
    bookworm "$root" "$sources" >"$work/mmdebstrap.log" 2>&1 ||
    die "mmdebstrap failed: $(tail -n 5 "$work/mmdebstrap.log")"
echo "clean_room: root ready after $((SECONDS - started)) s"

mkdir -p "$root/work"
git clone -q --no-local --branch "$branch" "$repo" "$root/work/travoli" ||
    die "could not clone $repo ($branch)"
echo "clean_room: testing $(git -C "$root/work/travoli" log -1 --format='%h %s')"
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true

# A mount and process namespace of its own: the mounts and every process the tests leave
# behind end with the run.
tests_started=$SECONDS
status=0
unshare --mount --pid --fork --propagation private bash -s "$root" >"$log" 2>&1 </dev/null <<'INNER' || status=$?
set -e
root=$1
mount -t proc proc "$root/proc"
mount -t sysfs sys "$root/sys"
mount --rbind /dev "$root/dev"
mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
mount -t tmpfs -o mode=1777 tmpfs "$root/tmp"
mount -t tmpfs -o mode=755 tmpfs "$root/run"
exec chroot "$root" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    HOME=/root LANG=C.UTF-8 CI=true bash -c 'cd /work/travoli && exec ./test.sh' </dev/null
INNER

echo "clean_room: ./test.sh ended with status $status after $((SECONDS - tests_started)) s (log: $log)"
grep -E '^== |tests passed|tests failed out of|\(Failed\)|\(Timeout\)|^deb_smoke: passed|^travoli: ' \
    "$log" | sed 's/^/clean_room:   /' || true
echo "clean_room: $((SECONDS - started)) s in all"
exit "$status"
