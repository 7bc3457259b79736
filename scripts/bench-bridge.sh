#!/usr/bin/env bash
# The bridge's benchmark in one run (about three minutes): latency from a
# keypad's input report to the host's read, for the bridge and for socat
# relaying between two pseudo-terminals; throughput each way for 60 seconds with
# every byte checked; the idle CPU of `tessaron bridge` with six keypads and six
# hosts. Builds what it needs into build/ (TESSARON_BUILD names another folder).
# Extra arguments go to the benchmark, e.g. --benchmark_filter=Latency.
# TESSARON_BENCH_SECONDS=10 shortens the throughput and CPU runs.
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TESSARON_BUILD:-$top/build}
jobs=${TESSARON_JOBS:-2}

if ! command -v socat >/dev/null; then
    echo "bench-bridge: socat is missing (sudo apt-get install socat)" >&2
    exit 1
fi
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$jobs" --target bridge_bench tessaron tessaron_fakehid
exec "$build/bin/bridge_bench" --benchmark_counters_tabular=true "$@"
