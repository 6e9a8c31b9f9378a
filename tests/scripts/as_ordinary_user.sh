#!/bin/sh
# Runs the program as an ordinary user: as nobody through setpriv when started as root, else as
# it is. As root, the program runs from a copy in a folder of its own, since nobody may not reach
# the build at all (a checkout in root's home, mode 0700 on Debian).
set -eu
if [ "$(id -u)" = 0 ]; then
    own=$(mktemp -d)
    trap 'rm -rf "$own"' EXIT
    chmod 755 "$own"
    cp "$1" "$own/"
    . "$(dirname "$0")/../support/lsan_beside.sh"
    lsan_beside "$own"
    program="$own/$(basename "$1")"
    shift
    setpriv --reuid=65534 --regid=65534 --clear-groups -- "$program" "$@"
    exit
fi
exec "$@"
