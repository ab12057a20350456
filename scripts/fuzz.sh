#!/usr/bin/env bash
# Builds the map-blob fuzzer with clang and runs it for a bounded time (60 s unless given),
# seeded with the metafile fixtures. A crash, a sanitizer report or a leak of the run fails.
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VEMBRA_FUZZ_BUILD_DIR:-$here/build-fuzz}"
seconds="${1:-60}"
if [[ ! -f "$build/build.ninja" ]]; then
    CC=clang CXX=clang++ cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DVEMBRA_FUZZ=ON >/dev/null
fi
cmake --build "$build" --target fuzz_map_blob
corpus="$build/corpus"
mkdir -p "$corpus"
cp -n "$here"/tests/fixtures/metafiles/*.emf "$here"/tests/fixtures/metafiles/*.wmf \
    "$here"/tests/fixtures/pin.emf "$corpus"/ 2>/dev/null || true
# Qt keeps its font caches to the end of the process: leaks are not looked for.
export ASAN_OPTIONS="detect_leaks=0:allocator_may_return_null=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd "$build"
status=0
./bin/fuzz_map_blob "$corpus" -max_total_time="$seconds" -max_len=400000 -timeout=20 \
    -rss_limit_mb=4096 -print_final_stats=1 >fuzz.log 2>&1 || status=$?
grep -v -E '^"|Uses:|dictionary' fuzz.log | tail -n 40
echo "fuzz: exit status $status"
exit "$status"
