#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal build's, the fuzzers'
# and the sanitizer build's (last, so its summary closes the run).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cd "$root"
status=0

echo "== default build"
"$root/scripts/bootstrap.sh" default
ctest --preset default || status=1

echo "== Debian package"
"$root/packaging/deb_smoke.sh" "$root/build" || status=1

echo "== fuzzing the record reader and the chunk decoder"
"$root/fuzz/run.sh" 30 || status=1

echo "== sanitizer build (AddressSanitizer + UndefinedBehaviorSanitizer)"
"$root/scripts/bootstrap.sh" asan
ctest --preset asan || status=1

exit $status
