#!/usr/bin/env bash
# Sets up and builds the suite, then starts its main program.
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
"$top/scripts/setup.sh"

bin="$top/build/bin"
if [ -x "$bin/Plindorax" ]; then
    exec "$bin/Plindorax" "$@"
fi
# Until the editor's window exists: the command-line tool on the sample document.
exec "$bin/tessaron" show "$bin/Macro Files/Sample.ckd"
