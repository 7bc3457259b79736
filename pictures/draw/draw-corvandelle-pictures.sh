#!/usr/bin/env bash
# Redraws Corvandelle's pictures and icons into pictures/ (they are committed;
# the build only copies them). Needs qt6-base-dev.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
g++ -std=c++20 -O1 -fPIC -o "$work/draw" "$here/DrawCorvandellePictures.cpp" \
    $(pkg-config --cflags --libs Qt6Gui)
"$work/draw" "$here/.."
