#!/usr/bin/env bash
# Installs the Debian package on this machine with apt-get (as root), uses the
# installed suite as an ordinary user would, without TESSARON_HOME, and checks
# that its state went to that user's folder and nothing to the installation;
# then removes the package and the user again.
# Usage: scripts/check-package.sh path/to/tessaron_<version>_<arch>.deb
set -euo pipefail

deb=$(realpath "$1")
user=${TESSARON_CHECK_USER:-tessaron-check}
work=$(mktemp -d)
step() { printf 'check-package: %s\n' "$*"; }
fail() {
    echo "check-package: FAILED: $*" >&2
    exit 1
}
[ "$(id -u)" -eq 0 ] || fail "run as root: it installs the package"

bridge=
cleanup() {
    if [ -n "$bridge" ]; then
        kill -TERM "$bridge" 2>/dev/null || true
    fi
    if id "$user" >/dev/null 2>&1; then
        userdel --remove "$user" 2>/dev/null || true
    fi
    if dpkg -s tessaron >/dev/null 2>&1; then
        apt-get purge -y -qq tessaron >/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

export DEBIAN_FRONTEND=noninteractive
step "installing $(basename "$deb")"
if dpkg -s tessaron >/dev/null 2>&1; then
    apt-get purge -y -qq tessaron >/dev/null
fi
# gio tells the file type and the program that a desktop gives a file.
apt-get install -y -qq --no-install-recommends libglib2.0-bin "$deb" >/dev/null

desktop-file-validate /usr/share/applications/org.tessaron.*.desktop
appstreamcli validate --no-net /usr/share/metainfo/org.tessaron.*.metainfo.xml >/dev/null
[ -f /usr/lib/udev/rules.d/70-tessaron-keypad.rules ] || fail "udev rule not installed"
[ -f /usr/share/icons/hicolor/48x48/apps/org.tessaron.Plindorax.png ] || fail "icon not installed"
head -c 5 /usr/share/tessaron/Corvandelle.pdf | grep -qx '%PDF-' || fail "user manual not installed"
unit=/usr/lib/systemd/user/tessaron-bridge.service
grep -qx 'ExecStart=/usr/bin/tessaron bridge' "$unit" || fail "bridge unit does not run /usr/bin/tessaron"
if command -v systemd-analyze >/dev/null; then
    # Unknown keys and bad values are only warnings to systemd: any word counts.
    problems=$(systemd-analyze verify --man=no "$unit" 2>&1) || fail "bridge unit: $problems"
    [ -z "$problems" ] || fail "bridge unit: $problems"
else
    step "systemd-analyze not installed: bridge unit not verified"
fi

if id "$user" >/dev/null 2>&1; then
    userdel --remove "$user" 2>/dev/null || true # left by an interrupted run
fi
useradd --create-home --shell /bin/bash "$user"
home=$(getent passwd "$user" | cut -d: -f6)
uid=$(id -u "$user") gid=$(id -g "$user")
# The user's programs in a clean login environment: no TESSARON_HOME, no
# XDG_DATA_HOME, no log-in session (/run/user/<uid>), and, where this machine
# allows a mount namespace, a /tmp that ordinary users cannot write to, as on
# hardened machines: nothing of the suite may need it. unshare, sh and setpriv
# exec, so a program started in the background is $!.
no_tmp=()
if unshare --mount --propagation private true 2>/dev/null; then
    no_tmp=(unshare --mount --propagation private
        sh -c 'mount -t tmpfs -o mode=1755 tessaron-check /tmp && exec "$@"' sh)
    step "/tmp not writable for $user"
fi
as_user_env=("${no_tmp[@]}" setpriv --reuid="$uid" --regid="$gid" --init-groups env -i
    HOME="$home" USER="$user" LOGNAME="$user" PATH=/usr/bin:/bin LANG=C.UTF-8
    QT_QPA_PLATFORM=offscreen)
as_user() { (cd "$home" && exec "${as_user_env[@]}" "$@"); }

step "tessaron as $user"
folder=$(as_user tessaron folder)
[ "$folder" = "$home/.local/share/tessaron" ] || fail "suite folder is $folder"
[ -f "$folder/Macro Files/Sample.ckd" ] || fail "sample documents not copied into $folder"
as_user tessaron new "$folder/Macro Files/check.ckd"
as_user tessaron new shop.rom
[ -f "$folder/Macro Files/check.hex" ] || fail "tessaron new wrote no download image"
shown=$(as_user tessaron show "$folder/Macro Files/Sample.ckd")
grep -q '^Parameters:' <<<"$shown" || fail "tessaron show printed no document"

step "Plindorax as $user, offscreen"
run_editor() {
    local status=0
    as_user timeout 4 Plindorax "$folder/Macro Files/check.ckd" 2>"$work/editor.err" || status=$?
    [ "$status" -eq 124 ] || fail "Plindorax ended early ($status): $(cat "$work/editor.err")"
    ! grep -q "Unable to write" "$work/editor.err" || fail "$(cat "$work/editor.err")"
}
run_editor
grep -q '^Keypad_Layout=' "$folder/Plindorax.ini" || fail "Plindorax.ini not written in $folder"
as_user sed -i 's/^Keypad_Layout=.*/Keypad_Layout=1\r/' "$folder/Plindorax.ini"
run_editor
grep -q '^Keypad_Layout=1' "$folder/Plindorax.ini" || fail "Plindorax forgot its layout"

step "tessaron bridge as $user"
as_user sh -c "printf '[Port Settings]\r\nCOM_Assignment_1=3\r\nGUID_1=usb-check-absent/input0\r\n' \
    >'$folder/Corvandelle.ini'"
(cd "$home" && exec "${as_user_env[@]}" tessaron bridge) >"$work/bridge.out" 2>&1 &
bridge=$!
for _ in $(seq 50); do
    [ -L "$folder/ports/COM3" ] && break
    sleep 0.2
done
[ -L "$folder/ports/COM3" ] || fail "bridge made no port in $folder: $(cat "$work/bridge.out")"
# Without a session the locks live in the home folder, never in /tmp.
[ -d "/run/user/$uid" ] || [ -f "$home/.local/state/tessaron/Corvandelle.lock" ] ||
    fail "the bridge's lock is not in $home/.local/state/tessaron"
[ ! -e "/tmp/tessaron-$uid" ] || fail "the bridge used /tmp/tessaron-$uid"
kill -TERM "$bridge"
wait "$bridge" || fail "bridge did not end cleanly: $(cat "$work/bridge.out")"
bridge=
[ ! -e "$folder/ports/COM3" ] || fail "bridge left its port behind"

step "file types and the program that opens them"
printf 'not a keypad ROM\0\1\2' >"$home/game.rom"
for f in "Macro Files/check.ckd:application/x-tessaron-redefinition" \
    "$home/shop.rom:application/x-tessaron-rom"; do
    path=${f%%:*} want=${f##*:}
    [[ $path = /* ]] || path="$folder/$path"
    got=$(as_user gio info -a standard::content-type "$path" | awk '/content-type/ {print $2}')
    [ "$got" = "$want" ] || fail "$path is $got, not $want"
done
got=$(as_user gio info -a standard::content-type "$home/game.rom" | awk '/content-type/ {print $2}')
[ "$got" != application/x-tessaron-rom ] || fail "any .rom file is taken for a keypad ROM"
handlers=$(as_user gio mime application/x-tessaron-redefinition)
grep -q "Default application.*org.tessaron.Plindorax.desktop" <<<"$handlers" ||
    fail "Plindorax does not open a .ckd: $handlers"

step "root uses its own folder too, never the installation"
root_home=$(mktemp -d -p "$work")
[ "$(env -u TESSARON_HOME -u XDG_DATA_HOME HOME="$root_home" tessaron folder)" = \
    "$root_home/.local/share/tessaron" ] || fail "root's suite folder is not its own"
for f in Plindorax.ini Corvandelle.ini Tavrix.ini ports "Macro Files"; do
    for d in /usr/bin /usr/share/tessaron /usr/libexec/tessaron; do
        [ "$d/$f" = "/usr/share/tessaron/Macro Files" ] && continue
        [ ! -e "$d/$f" ] || fail "$d/$f was written into the installation"
    done
done

step "removing the package"
apt-get purge -y -qq tessaron >/dev/null
[ ! -e /usr/bin/tessaron ] && [ ! -e /usr/share/tessaron ] || fail "package files left behind"
[ -f "$folder/Plindorax.ini" ] || fail "removing the package touched the user's folder"
step "package checked"
