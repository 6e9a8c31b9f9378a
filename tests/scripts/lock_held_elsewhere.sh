#!/bin/sh
# Another copy of the game holds the settings file's lock past the wait (flock(1) stands in for
# it), through the driver as a real process: the name's Enter says why nothing was written, and
# the close says it too, on standard error, with the news that the game was not saved.
set -eu
driver="$(realpath "$1")"
data="$(realpath "$2")"
work="$(mktemp -d)"
holder=""
trap '[ -n "$holder" ] && kill "$holder" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "lock held elsewhere: $*" >&2; exit 1; }

home="$work/home"
mkdir -p "$home"
# The holder is one process that keeps the lock until it is killed.
(
    exec 9>"$home/lumcrest.ini.lock"
    flock 9
    exec sleep 60
) >/dev/null 2>&1 &
holder=$!
tries=0
while flock -n "$home/lumcrest.ini.lock" true; do
    tries=$((tries + 1))
    [ "$tries" -lt 500 ] || fail "the lock was never taken"
    sleep 0.01
done

out=$(printf 'start\ntext Bob\nkey 13\nerrors\nclose\n' |
    timeout 30 "$driver" --data "$data" --seed 1 --home "$home" 2>"$work/stderr")
locked="Unable to write to $home/lumcrest.ini: the settings file is locked by another copy of the game"
expected="started
errors: | $locked
closed"
[ "$out" = "$expected" ] || fail "answers: $out"
grep -qxF "lumcrest: $locked. The game in progress was not saved." "$work/stderr" ||
    fail "standard error: $(cat "$work/stderr")"
[ ! -e "$home/lumcrest.ini" ] || fail "the file was written without the lock"
echo "lock held elsewhere: all passed"
