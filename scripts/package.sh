#!/usr/bin/env bash
# Builds the Debian package as a packager would (Release, Debian's build flags
# with full hardening, no tests) into build-package/ and checks it and the
# desktop files with lintian, desktop-file-validate, appstreamcli and
# update-mime-database. Usage: scripts/package.sh [extra cmake args]
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=${TESSARON_JOBS:-2}
build=${TESSARON_PACKAGE_BUILD:-$top/build-package}

# What building and checking the package needs besides the suite's own packages.
TESSARON_EXTRA_PACKAGES="dpkg-dev fakeroot file lintian desktop-file-utils appstream shared-mime-info" \
    TESSARON_SETUP_ONLY=1 "$top/scripts/setup.sh"

eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
export CFLAGS="$CFLAGS $CPPFLAGS" CXXFLAGS="$CXXFLAGS $CPPFLAGS" LDFLAGS

rm -rf "$build"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DTESSARON_TESTS=OFF -DTESSARON_BENCH=OFF "$@" >/dev/null
cmake --build "$build" -j "$jobs"
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/tessaron_*.deb)

desktop-file-validate "$top"/data/applications/*.desktop "$top"/data/autostart/*.desktop
appstreamcli validate --no-net "$top"/data/metainfo/*.xml >/dev/null
mime=$(mktemp -d)
mkdir -p "$mime/mime/packages"
cp "$top/data/mime/tessaron.xml" "$mime/mime/packages/"
# Silent when the types are valid.
problems=$(XDG_DATA_HOME="$mime" XDG_DATA_DIRS="$mime" update-mime-database "$mime/mime" 2>&1)
rm -rf "$mime"
[ -z "$problems" ] || {
    echo "package: data/mime/tessaron.xml: $problems" >&2
    exit 1
}
lintian --allow-root --fail-on error "$deb"
echo "package: $deb"
