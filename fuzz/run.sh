#!/usr/bin/env bash
# Builds the record and chunk fuzz targets with clang in their own build directory and runs
# each for a while from the seed corpus; fails on any crash, leak or sanitizer report.
#   fuzz/run.sh [SECONDS]     (default 30 each; build dir $TRAVOLI_FUZZ_BUILD or build-fuzz)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TRAVOLI_FUZZ_BUILD:-$root/build-fuzz}
seconds=${1:-30}
mkdir -p "$build"

cmake -S "$root/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$build/configure.log" 2>&1 ||
    { cat "$build/configure.log" >&2; echo "fuzz: configuring failed" >&2; exit 1; }
cmake --build "$build" -j1 >"$build/build.log" 2>&1 ||
    { tail -n 40 "$build/build.log" >&2; echo "fuzz: building failed" >&2; exit 1; }

status=0
for name in record chunk; do
    work="$build/corpus/$name"
    mkdir -p "$work" "$build/artifacts"
    echo "== fuzzing $name for ${seconds}s"
    # New inputs go to the work corpus; the committed seeds are only read.
    if ! "$build/${name}_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len=70000 -print_final_stats=1 -artifact_prefix="$build/artifacts/$name-" \
        "$work" "$root/fuzz/corpus/$name" >"$build/$name.log" 2>&1; then
        tail -n 60 "$build/$name.log" >&2
        echo "fuzz: $name fuzzer failed; input saved under $build/artifacts" >&2
        status=1
    else
        grep -E '^stat::number_of_executed_units|^Done' "$build/$name.log" || true
    fi
done
exit $status
