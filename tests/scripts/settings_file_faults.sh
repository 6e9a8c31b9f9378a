#!/bin/sh
# The player's file at game level, through the driver as real processes: an unreadable file is
# reported once and never replaced, odd things at its path do not stop or hang the start, a file
# with a byte-order mark keeps its first section, and a relative --home stays where the caller is.
set -eu
driver="$(realpath "$1")"
data="$(realpath "$2")"
work="$(mktemp -d)"
chmod 755 "$work"
trap 'chmod -R u+rwx "$work" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "settings file faults: $*" >&2; exit 1; }
run() { timeout 20 "$driver" --data "$data" --seed 1 "$@"; }

table() {
    printf '[Settings]\nFirst=0\nName=Ada\n'
    for k in 1 2 3 4 5 6 7 8 9 10; do
        printf '[Scoreline%s]\nName=P%s\nScore=%s\n' "$k" "$k" "$((50000 - k))"
    done
}

# A folder where the file should be: the game starts with defaults, says why once, and the close
# is refused with the usual words; the folder is untouched.
mkdir -p "$work/folder/lumcrest.ini"
out=$(printf 'start\nget firstRun\nerrors\nerrors\nclose\n' | run --home "$work/folder")
expected="started
firstRun=1
errors: | Cannot read $work/folder/lumcrest.ini: it is a folder. Nothing will be saved until it can be read.
errors:
closed"
[ "$out" = "$expected" ] || fail "folder at the path: $out"
[ -d "$work/folder/lumcrest.ini" ] || fail "the folder was replaced"

# A pipe at the path: the start neither hangs nor waits for a writer.
mkdir -p "$work/fifo" && mkfifo "$work/fifo/lumcrest.ini"
out=$(printf 'start\nget firstRun\n' | run --home "$work/fifo") || fail "pipe at the path: the start hung"
[ "$out" = "started
firstRun=1" ] || fail "pipe at the path: $out"
[ -p "$work/fifo/lumcrest.ini" ] || fail "the pipe was replaced"

# A byte-order mark from an editor hides nothing: no first-run screen, the name, the saved game.
mkdir -p "$work/bom"
{ printf '\357\273\277'; table; printf '[Techinfo]\nStage=4\n'; } >"$work/bom/lumcrest.ini"
out=$(printf 'start\nget firstRun\nget playerName\nget Stage\nclose\n' | run --home "$work/bom")
[ "$out" = "started
firstRun=0
playerName=Ada
Stage=4
closed" ] || fail "byte-order mark: $out"
[ "$(grep -c '^\[Settings\]' "$work/bom/lumcrest.ini")" = 1 ] || fail "a second [Settings] appeared"
head -c 3 "$work/bom/lumcrest.ini" | grep -q '^\[Se' || fail "the mark was written back"

# A relative --home is the caller's folder, not the data folder the game works in.
mkdir -p "$work/caller"
(cd "$work/caller" && printf 'start\nclose\n' | run --home rel/home >/dev/null)
[ -f "$work/caller/rel/home/lumcrest.ini" ] || fail "relative --home: no file in the caller's folder"
[ ! -e "$data/rel" ] || fail "relative --home wrote into the data folder"

# As an ordinary user (permissions do not bite as root): a file at mode 000 is reported, nothing
# is written at the name's Enter or at the close, and all ten lines and the name survive.
if [ "$(id -u)" = 0 ]; then
    as_user="setpriv --reuid=65534 --regid=65534 --clear-groups --"
    # Nobody may not reach the build (a checkout in root's home, mode 0700 on Debian): the driver
    # and its data run from copies in the work folder.
    mkdir -p "$work/program"
    cp "$driver" "$work/program/"
    cp -r "$data" "$work/program/data"
    driver="$work/program/$(basename "$driver")"
    data="$work/program/data"
    . "$(dirname "$0")/../support/lsan_beside.sh"
    lsan_beside "$work/program"
else
    as_user=""
fi
mkdir -p "$work/locked"
table >"$work/locked/lumcrest.ini"
cp "$work/locked/lumcrest.ini" "$work/expected.ini"
chmod 000 "$work/locked/lumcrest.ini"
[ "$(id -u)" = 0 ] && chown -R 65534:65534 "$work/locked"
out=$(printf 'start\nget firstRun\nerrors\ntext Bob\nkey 13\nerrors\nclose\n' |
    $as_user timeout 20 "$driver" --data "$data" --seed 1 --home "$work/locked")
expected="started
firstRun=1
errors: | Cannot read $work/locked/lumcrest.ini: Permission denied. Nothing will be saved until it can be read.
errors: | Unable to write to $work/locked/lumcrest.ini
closed"
[ "$out" = "$expected" ] || fail "unreadable file: $out"
chmod 600 "$work/locked/lumcrest.ini"
cmp -s "$work/locked/lumcrest.ini" "$work/expected.ini" || fail "the unreadable file was changed"
[ "$(ls "$work/locked")" = "lumcrest.ini" ] || fail "files were left beside it: $(ls "$work/locked")"
echo "settings file faults: all passed"
