#!/usr/bin/env bash
# Runs a program of the suite with simulated USB keypads in place of hidapi, or
# sends a command to the keypads of a program started that way.
#
#   tests/fakes/simulated-keypads.sh run [-f SETUP] COMMAND [ARG...]
#   tests/fakes/simulated-keypads.sh send COMMAND...
#
# SETUP lists the keypads to start with (default: simulated-keypads.txt beside
# this script). The keypads listen on $TESSARON_FAKEHID_CONTROL (default: a
# socket in $XDG_RUNTIME_DIR or /tmp). Commands: FakeHidCommands.txt.
# Serial keypads are separate programs: build/bin/fake-serial-keypad COMn.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
top=$(cd "$here/../.." && pwd)
build=${TESSARON_BUILD:-$top/build}
socket=${TESSARON_FAKEHID_CONTROL:-${XDG_RUNTIME_DIR:-/tmp}/tessaron-fakehid-$(id -u).sock}

usage() {
    sed -n '2,12s/^# \{0,1\}//p' "${BASH_SOURCE[0]}" >&2
    exit 1
}

(($# >= 1)) || usage
case $1 in
run)
    shift
    setup=$here/simulated-keypads.txt
    if [ "${1:-}" = "-f" ]; then
        setup=$2
        shift 2
    fi
    (($# >= 1)) || usage
    library=$build/lib/libtessaron_fakehid.so
    if [ ! -e "$library" ]; then
        echo "simulated-keypads: $library is missing: build the suite first (./run.sh)" >&2
        exit 1
    fi
    echo "simulated-keypads: commands on $socket" >&2
    export TESSARON_HIDAPI=$library TESSARON_FAKEHID_SETUP=$setup TESSARON_FAKEHID_CONTROL=$socket
    exec "$@"
    ;;
send)
    shift
    (($# >= 1)) || usage
    command -v socat >/dev/null || { echo "simulated-keypads: socat is needed" >&2; exit 1; }
    printf '%s\n' "$*" | socat -t 2 - "UNIX-CONNECT:$socket"
    ;;
*)
    usage
    ;;
esac
