#!/usr/bin/env bash
# Runs a test program as an unprivileged user, for the tests that need file modes to count
# (root ignores them). As root the program is copied where that user can run it and gets a
# runtime folder of its own; as anyone else it simply runs.
#   unprivileged.sh PROGRAM [ARGS...]
set -euo pipefail
if (($(id -u) != 0)); then
    exec "$@"
fi
user=nobody
place=$(mktemp -d)
trap 'rm -rf "$place"' EXIT
chmod 755 "$place"
install -m 755 "$1" "$place/"
mkdir -m 700 "$place/runtime"
chown "$user:" "$place/runtime"
program="$place/$(basename "$1")"
# The sanitizer build's leak suppressions, where that user can read them.
if [[ ${LSAN_OPTIONS:-} =~ suppressions=([^:]*) ]]; then
    install -m 644 "${BASH_REMATCH[1]}" "$place/lsan.supp"
    export LSAN_OPTIONS=${LSAN_OPTIONS/"${BASH_REMATCH[1]}"/$place/lsan.supp}
fi
shift
cd "$place"
# A signal to this script reaches the program too, so that whoever started it can end both.
XDG_RUNTIME_DIR="$place/runtime" HOME="$place/runtime" TMPDIR=/tmp \
    setpriv --reuid="$user" --regid="$(id -g "$user")" --clear-groups -- "$program" "$@" <&0 &
child=$!
trap 'kill -TERM "$child" 2>/dev/null || true' TERM HUP
status=0
wait "$child" || status=$?
if kill -0 "$child" 2>/dev/null; then
    status=0
    wait "$child" || status=$?
fi
exit "$status"
