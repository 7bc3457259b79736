#!/usr/bin/env bash
# Redraws the property dialogs' pictures into pictures/ (JPEG, via cjpeg from
# libjpeg-turbo-progs). Only needed when the drawings change; the JPEG files
# are committed.
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# shellcheck disable=SC2046
g++ -std=c++20 -O1 -fPIC -o "$work/dialog-pictures" "$top/scripts/dialog-pictures.cpp" \
    $(pkg-config --cflags --libs Qt6Gui)
"$work/dialog-pictures" "$work"
for ppm in "$work"/*.ppm; do
    name=$(basename "$ppm" .ppm)
    cjpeg -quality 90 -optimize -outfile "$top/pictures/$name.jpg" "$ppm"
    echo "pictures/$name.jpg"
done
