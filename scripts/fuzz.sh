#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) into build-fuzz/, then runs each target for a
# share of SECONDS. Exits non-zero when a target finds a crash; the input that
# caused it is kept in build-fuzz/crashes/.
# Usage: scripts/fuzz.sh [SECONDS]   (default 60)
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=${TESSARON_JOBS:-2}
total=${1:-60}
build=${TESSARON_FUZZ_BUILD:-$top/build-fuzz}

# target:seed folder:dictionary
targets=(
    "ini_fuzz:ini:"
    "document_fuzz:document:document.dict"
    "jpeg_fuzz:jpeg:"
)

# Only the fuzz targets are built, without the Qt programs.
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DTESSARON_FUZZ=ON -DTESSARON_GUI=OFF \
    -DTESSARON_TESTS=OFF -DTESSARON_BENCH=OFF \
    -DTESSARON_SANITIZE=address,undefined >/dev/null
names=()
for t in "${targets[@]}"; do
    names+=("${t%%:*}")
done
cmake --build "$build" -j "$jobs" --target "${names[@]}"

# The document target writes files on every run: keep them in memory when we can.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
    export TMPDIR=/dev/shm
fi

share=$((total / ${#targets[@]}))
((share > 0)) || share=1
mkdir -p "$build/crashes"
status=0
for t in "${targets[@]}"; do
    IFS=: read -r name seeds dict <<<"$t"
    # The corpus grows across runs; the seeds in the repository start it.
    corpus="$build/corpus/$name"
    mkdir -p "$corpus"
    args=(-max_total_time="$share" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
          -artifact_prefix="$build/crashes/$name-")
    [ -n "$dict" ] && args+=(-dict="$top/fuzz/$dict")
    echo "fuzz: $name for ${share}s"
    if ! ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
        "$build/bin/$name" "${args[@]}" "$corpus" "$top/fuzz/corpus/$seeds" \
        >"$build/$name.log" 2>&1; then
        echo "fuzz: $name failed; the last lines of $build/$name.log:" >&2
        tail -n 40 "$build/$name.log" >&2
        status=1
    else
        grep -E "^(stat::number_of_executed_units|Done)" "$build/$name.log" || true
    fi
done
exit $status
