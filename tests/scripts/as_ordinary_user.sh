#!/bin/sh
# Runs the command as an ordinary user: as nobody through setpriv when started as root, else as
# it is.
set -eu
if [ "$(id -u)" = 0 ]; then
    exec setpriv --reuid=65534 --regid=65534 --clear-groups -- "$@"
fi
exec "$@"
