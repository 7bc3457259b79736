#!/usr/bin/env bash
# The bridge's benchmark in one run (about five minutes): latency of single
# bytes keypad -> host (6 to 14 ms apart) and host -> keypad (12 to 20 ms
# apart), beside socat relaying between two pseudo-terminals at the same paces;
# throughput each way for 60 seconds with every byte checked; how soon a
# replugged keypad is bridged again; the CPU of `tessaron bridge` with six
# keypads and six idle hosts and with six absent keypads (per-thread scheduler
# time); the idle cost of each bridge thread. Builds what it needs into build/
# (TESSARON_BUILD names another folder). Extra arguments go to the benchmark,
# e.g. --benchmark_filter=Latency. TESSARON_BENCH_SECONDS=10 shortens the
# throughput and CPU runs.
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
