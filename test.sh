#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal build's and the
# sanitizer build's.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cd "$root"
status=0
for preset in default asan; do
    echo "== $preset build"
    "$root/scripts/bootstrap.sh" "$preset"
    ctest --preset "$preset" || status=1
done
exit $status
