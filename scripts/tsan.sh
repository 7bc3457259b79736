#!/usr/bin/env bash
# Builds the thread code under ThreadSanitizer into build-tsan (no Qt programs,
# no benchmarks) and runs the tests that run threads: those with the CTest label
# "threads". Any report of a data race or a lock-order problem fails the run.
# Usage: scripts/tsan.sh [extra cmake args]
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=${TESSARON_JOBS:-2}
build=${TESSARON_TSAN_BUILD:-$top/build-tsan}

configure() {
    cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DTESSARON_SANITIZE=thread -DTESSARON_BENCH=OFF "$@" >"$build/configure.log" 2>&1
}
mkdir -p "$build"
if ! configure -DTESSARON_GUI=OFF "$@"; then
    # A folder that needs Qt whatever TESSARON_GUI says: configure with Qt found.
    # Only the thread tests are built below, so no window code is compiled.
    echo "tsan: the build does not configure without Qt (see $build/configure.log);" \
        "configuring with TESSARON_GUI=ON" >&2
    configure -DTESSARON_GUI=ON "$@" || { cat "$build/configure.log" >&2; exit 1; }
fi

# The test executables whose tests carry the label, as CMake recorded them.
mapfile -t targets < <(grep -rlE --include='*_include.cmake' 'LABELS;threads(;|\]|$)' "$build" |
    xargs -r sed -n 's/.*TEST_EXECUTABLE \[==\[\(.*\)\]==\].*/\1/p' | xargs -r -n1 basename | sort -u)
if ((${#targets[@]} == 0)); then
    echo "tsan: no test carries the label \"threads\"" >&2
    exit 1
fi
echo "tsan: building ${targets[*]}"
cmake --build "$build" -j "$jobs" --target "${targets[@]}"

export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 ${TSAN_OPTIONS:-}"
ctest --test-dir "$build" -L threads -j "$jobs" --output-on-failure
