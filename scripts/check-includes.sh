#!/usr/bin/env bash
# Fails when a file of a library folder includes from a folder that is not
# below its own: each folder is one layer, and includes only run downward.
# The programs (cli, siblings' programs, tools, the main()s) sit on top and
# may include anything, as may tests/, bench/ and fuzz/.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

# Each layer and the folders it may include from besides its own.
declare -A below=(
    [common]=""
    [editor/model]="common"
    [editor/dialogs]="common editor/model"
    [editor/window]="common editor/model editor/dialogs"
    [portmgr/io]="common"
    [portmgr/devices]="common portmgr/io"
    [portmgr/bridge]="common portmgr/io portmgr/devices"
    [portmgr/shell]="common portmgr/io portmgr/devices portmgr/bridge"
    [siblings/core]="common editor/model portmgr/io portmgr/devices"
)

status=0
for layer in "${!below[@]}"; do
    [ -d "$layer" ] || continue
    while IFS=: read -r file included; do
        case "$included" in
        */*) ;;
        *) continue ;; # a file of the same folder
        esac
        allowed=no
        for folder in "$layer" ${below[$layer]}; do
            if [[ $included == "$folder"/* ]]; then
                allowed=yes
            fi
        done
        if [ "$allowed" = no ]; then
            echo "$file includes \"$included\": not below $layer" >&2
            status=1
        fi
    done < <(grep -rEo --include='*.cpp' --include='*.h' '^#include "[^"]+"' "$layer" |
        sed 's/#include "\(.*\)"$/\1/')
done
exit $status
