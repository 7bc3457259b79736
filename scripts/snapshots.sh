#!/usr/bin/env bash
# Renders Plindorax's windows to PNG files offscreen (no desktop needed): the
# main window in both layouts and both edit modes, the MIDI event dialog, the
# macro length warning, the USER Properties dialog, every page of the Advanced
# ROM Properties dialog and the screen editor with a two-line and a one-line
# LCD. Usage: scripts/snapshots.sh [output folder]
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TESSARON_BUILD:-$top/build}
out=${1:-$build/snapshots}

if [ ! -d "$build" ]; then
    cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j "${TESSARON_JOBS:-2}" --target PlindoraxSnapshots
QT_QPA_PLATFORM=offscreen "$build/bin/PlindoraxSnapshots" "$out"
