#!/usr/bin/env bash
# Checks that includes run only downward the layers, then builds and runs
# every test: the suite as shipped, the Debian package built,
# installed and used as an ordinary user (as root only), then again under
# AddressSanitizer and UndefinedBehaviorSanitizer with a soak test of the bridge,
# the thread code under ThreadSanitizer, and the fuzz targets for a bounded time.
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
jobs=${TESSARON_JOBS:-2}
cd "$top"

step() { printf '\n=== %s\n' "$*"; }

step "includes run only downward"
scripts/check-includes.sh

step "build and test"
scripts/setup.sh
ctest --test-dir build -j "$jobs" --output-on-failure

step "Debian package"
scripts/package.sh
if [ "$(id -u)" -eq 0 ]; then
    scripts/check-package.sh build-package/tessaron_*.deb
else
    echo "not root: the package is built and checked, not installed"
fi

step "AddressSanitizer and UndefinedBehaviorSanitizer"
TESSARON_BUILD="$top/build-asan" scripts/setup.sh -DTESSARON_SANITIZE=address,undefined \
    -DTESSARON_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan -j "$jobs" --output-on-failure

step "soak test of the bridge under AddressSanitizer (60 s)"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:quarantine_size_mb=16 \
    TESSARON_SOAK_RSS_SLACK_KB=32768 TESSARON_BUILD="$top/build-asan" \
    scripts/soak-bridge.sh "${TESSARON_SOAK_SECONDS:-60}"

if [ -x scripts/tsan.sh ]; then
    step "ThreadSanitizer"
    scripts/tsan.sh
fi

if [ -x scripts/fuzz.sh ]; then
    step "fuzzing"
    scripts/fuzz.sh "${TESSARON_FUZZ_SECONDS:-60}"
fi

step "all tests passed"
