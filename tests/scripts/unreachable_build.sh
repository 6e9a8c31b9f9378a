#!/bin/sh
# The tests that drop to an ordinary user work from a build that user cannot reach (a checkout in
# root's home, mode 0700 on Debian): the program and its data sit in such a folder here, and the
# unprivileged runs still pass. As an ordinary user there is nothing to drop from: skipped.
# Usage: unreachable_build.sh DRIVER DATA
set -eu
[ "$(id -u)" = 0 ] || { echo "unreachable build: not root, skipped"; exit 0; }
here="$(cd "$(dirname "$0")" && pwd)"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
chmod 700 "$home"
cp "$1" "$home/lumcrest-drive"
cp -r "$2" "$home/data"
"$here/as_ordinary_user.sh" "$home/lumcrest-drive" --help >/dev/null ||
    { echo "unreachable build: as_ordinary_user.sh could not run the program" >&2; exit 1; }
"$here/settings_file_faults.sh" "$home/lumcrest-drive" "$home/data"
echo "unreachable build: passed"
