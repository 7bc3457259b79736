#!/usr/bin/env bash
# Soak test of the bridge: `tessaron bridge` with six simulated USB keypads that
# are unplugged and replugged at random, hosts that open, write, read and close
# their ports at random (some in exclusive mode), and traffic both ways. It
# checks that every byte sent while both ends were connected arrives once and
# in order, that bytes sent to an absent end never arrive, that the bridge's
# descriptors, threads and memory return to their values after the warm-up,
# and that it stops cleanly. Usage: scripts/soak-bridge.sh [seconds] (600 by
# default); TESSARON_BUILD names the build folder (build/ by default, e.g.
# build-asan for the AddressSanitizer build), TESSARON_SOAK_SEED repeats a run,
# TESSARON_SOAK_TRACE=1 prints every step.
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TESSARON_BUILD:-$top/build}
jobs=${TESSARON_JOBS:-2}
seconds=${1:-600}

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j "$jobs" --target bridge_soak tessaron tessaron_fakehid
TESSARON_SOAK_SECONDS=$seconds exec "$build/bin/bridge_soak"
