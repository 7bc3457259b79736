#!/usr/bin/env bash
# Renders the suite's windows to PNG files offscreen (no desktop needed):
# Plindorax's main window in both layouts and both edit modes, the MIDI event
# dialog, the macro length warning, the USER Properties dialog, every page of
# the Advanced ROM Properties dialog and the screen editor with a two-line and
# a one-line LCD; Corvandelle's tray menu, configuration dialog (with simulated
# keypads: two USB keypads, one of them remembered on COM3, and an RS232 keypad
# on COM1), LED window, notices and About. Usage: scripts/snapshots.sh [output folder]
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TESSARON_BUILD:-$top/build}
out=${1:-$build/snapshots}

if [ ! -d "$build" ]; then
    cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j "${TESSARON_JOBS:-2}" --target PlindoraxSnapshots CorvandelleSnapshots \
    tessaron_fakehid fake-serial-keypad suite_pictures
QT_QPA_PLATFORM=offscreen "$build/bin/PlindoraxSnapshots" "$out"

# Corvandelle's keypads live in a suite folder of their own.
home=$(mktemp -d)
serial=
cleanup() {
    if [ -n "$serial" ]; then
        kill "$serial" 2>/dev/null || true
        wait "$serial" 2>/dev/null || true
    fi
    rm -rf "$home"
}
trap cleanup EXIT
printf '[Port Settings]\r\nCOM_Assignment_1=3\r\nGUID_1=/dev/hidraw-sim1\r\n' >"$home/Corvandelle.ini"
printf 'add 16c0:0604 /dev/hidraw-sim1 Tessaron 510 USB\nadd 16c0:0604 /dev/hidraw-sim2 Tessaron 514 USB\n' \
    >"$home/keypads"
TESSARON_HOME=$home "$build/bin/fake-serial-keypad" --id "Tessaron 510 RS2" COM1 </dev/null >/dev/null &
serial=$!
for _ in $(seq 50); do
    [ -e "$home/ports/COM1" ] && break
    sleep 0.1
done
TESSARON_HOME=$home TESSARON_HIDAPI="$build/lib/libtessaron_fakehid.so" \
    TESSARON_FAKEHID_SETUP="$home/keypads" TESSARON_FAKEHID_CONTROL="$home/fakehid.sock" \
    QT_QPA_PLATFORM=offscreen "$build/bin/CorvandelleSnapshots" "$out"
