#!/usr/bin/env bash
# Installs what the suite needs (Debian 12; apt-get when run as root), then
# configures and builds it into build/. Usage: scripts/setup.sh [extra cmake args]
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=${TESSARON_JOBS:-2}

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev libgl-dev fonts-dejavu-core
    libgtest-dev libgmock-dev libbenchmark-dev
    libjpeg62-turbo-dev
    libhidapi-dev libhidapi-hidraw0
    clang libclang-rt-14-dev
    socat
    ser2net python3-serial
)
# Callers add their own (scripts/package.sh: the packaging tools).
read -r -a extra <<<"${TESSARON_EXTRA_PACKAGES:-}"
packages+=("${extra[@]}")

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
if ((${#missing[@]})); then
    if [ "$(id -u)" -eq 0 ]; then
        echo "setup: installing ${missing[*]}"
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq
        apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
    else
        echo "setup: missing Debian packages: ${missing[*]}" >&2
        echo "setup: install them with: sudo apt-get install ${missing[*]}" >&2
        exit 1
    fi
fi

if [ -n "${TESSARON_SETUP_ONLY:-}" ]; then
    exit 0 # packages only
fi

build=${TESSARON_BUILD:-$top/build}
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build" -j "$jobs"
