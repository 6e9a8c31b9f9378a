#!/bin/sh
# Writes of the player's file that fail during a run, through the driver as a real process: a file
# size limit, a read that fails once, renames refused by a full disk, the folder deleted under the
# game, and no place of the player's own (a home every user may write to, another user's link, no
# home at all). The game plays on, says why, keeps every change and the close writes them all.
set -eu
driver="$(realpath "$1")"
data="$(realpath "$2")"
work="$(mktemp -d)"
chmod 755 "$work"
trap 'chmod -R u+rwx "$work" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "settings write failures: $*" >&2; exit 1; }
run() { timeout 30 "$driver" --data "$data" --seed 1 "$@"; }

table() {
    printf '[Settings]\nFirst=%s\nName=Ada\n' "$1"
    for k in 1 2 3 4 5 6 7 8 9 10; do
        printf '[Scoreline%s]\nName=P%s\nScore=%s\n' "$k" "$k" "$((50000 - k))"
    done
}
# VALUE of KEY in the file FILE ("" when it has none); keys are unique in what the game writes.
value() { sed -n "s/^$2=//p" "$1" | head -1; }
table_kept() {
    for k in 1 2 3 4 5 6 7 8 9 10; do
        grep -qx "Score=$((50000 - k))" "$1" || return 1
    done
}
# The commands of a first run's name entry (Bob), then the menu's music switch turned off.
name_then_music='text Bob\nkey 13\nerrors\ndown 400 290\nerrors\n'

# A file size limit (ulimit -f, in blocks of 512 bytes here) smaller than the file: the write is
# refused with its reason, the game does not end (SIGXFSZ), and no temporary stays.
home="$work/limit"
mkdir -p "$home"
{
    table 0
    for i in $(seq 60); do printf '; a note the player keeps in the file, line %s\n' "$i"; done
} >"$home/lumcrest.ini"
cp "$home/lumcrest.ini" "$work/limit.ini"
status=0
out=$( (
    ulimit -f 2
    printf 'start\nclick 700 550\ndown 400 290\nerrors\nget musicOn\nclose\n' | run --home "$home"
) 2>"$work/limit.err") || status=$?
[ "$status" = 0 ] || fail "file size limit: status $status ($out)"
refused="Unable to write to $home/lumcrest.ini: the file would pass the size limit set for the game"
[ "$out" = "started
errors: | $refused
musicOn=0
closed" ] || fail "file size limit: $out"
grep -qxF "lumcrest: $refused. The game in progress was not saved." "$work/limit.err" ||
    fail "file size limit, standard error: $(cat "$work/limit.err")"
cmp -s "$home/lumcrest.ini" "$work/limit.ini" || fail "file size limit: the file changed"
[ "$(ls "$home")" = "lumcrest.ini
lumcrest.ini.lock" ] || fail "file size limit: left beside the file: $(ls "$home")"

# Faults put in the way of the settings file's own system calls by strace, where it may trace.
# The leak checker of a sanitized build stops the program under a tracer of its own, which it
# cannot do under strace: it is off for these runs.
if strace -f -qq -o /dev/null true 2>/dev/null; then
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
    export ASAN_OPTIONS
    # One open of the file failing (EMFILE) while the music switch's write reads it: that write
    # alone fails, with its reason; the next write carries it, and the close writes the game.
    home="$work/emfile"
    mkdir -p "$home" && table 0 >"$home/lumcrest.ini"
    out=$(printf 'start\nclick 700 550\ndown 400 290\nerrors\nrdown 400 350\nerrors\nclose\n' |
        strace -f -qq -o /dev/null -P "$home/lumcrest.ini" -e trace=openat \
            -e inject=openat:error=EMFILE:when=2 \
            "$driver" --data "$data" --seed 1 --home "$home" 2>"$work/emfile.err")
    [ "$out" = "started
errors: | Unable to write to $home/lumcrest.ini: Too many open files
errors:
closed" ] || fail "a failed read: $out"
    [ "$(value "$home/lumcrest.ini" Music)" = 0 ] && [ "$(value "$home/lumcrest.ini" Sound)" = 0 ] ||
        fail "a failed read: the switches were lost: $(cat "$home/lumcrest.ini")"
    grep -q '^Stage=' "$home/lumcrest.ini" || fail "a failed read: the close did not save the game"
    table_kept "$home/lumcrest.ini" || fail "a failed read: the table was lost"

    # Two renames refused by a full disk (the name, then the music switch): the close writes both.
    # (The settings file's writes are the driver's only renames.)
    home="$work/enospc"
    mkdir -p "$home" && table 1 >"$home/lumcrest.ini"
    out=$(printf "start\n${name_then_music}get playerName\nclose\n" |
        strace -f -qq -o /dev/null -e trace=rename,renameat,renameat2 \
            -e inject=rename,renameat,renameat2:error=ENOSPC:when=1..2 \
            "$driver" --data "$data" --seed 1 --home "$home" 2>/dev/null)
    full="Unable to write to $home/lumcrest.ini: the disk is full"
    name=$(echo "$out" | sed -n 's/^playerName=//p')
    [ "$out" = "started
errors: | $full
errors: | $full
playerName=$name
closed" ] || fail "full disk: $out"
    [ "$(value "$home/lumcrest.ini" Name)" = "$name" ] && [ "$(value "$home/lumcrest.ini" First)" = 0 ] &&
        [ "$(value "$home/lumcrest.ini" Music)" = 0 ] ||
        fail "full disk: changes were lost: $(cat "$home/lumcrest.ini")"
    table_kept "$home/lumcrest.ini" || fail "full disk: the table was lost"
else
    echo "settings write failures: strace may not trace here; its cases were skipped"
fi

# The whole folder deleted while the game runs: the next write puts back the whole file, the
# table and the name with the new switch, and the close adds the game.
home="$work/gone/home"
mkdir -p "$home" && table 1 >"$home/lumcrest.ini"
mkfifo "$work/in"
run --home "$home" <"$work/in" >"$work/gone.out" 2>&1 &
runner=$!
exec 3>"$work/in"
printf "start\n${name_then_music}get playerName\necho deleting\n" >&3
tries=0
until grep -qx deleting "$work/gone.out"; do
    tries=$((tries + 1))
    [ "$tries" -lt 3000 ] || fail "folder deleted: the driver never answered"
    sleep 0.01
done
rm -rf "$work/gone"
printf 'rdown 400 350\nerrors\nclose\n' >&3
exec 3>&-
wait "$runner" || fail "folder deleted: the driver failed: $(cat "$work/gone.out")"
name=$(sed -n 's/^playerName=//p' "$work/gone.out")
[ "$(tail -2 "$work/gone.out")" = "errors:
closed" ] || fail "folder deleted: $(cat "$work/gone.out")"
[ -f "$home/lumcrest.ini" ] || fail "folder deleted: no file was written"
[ "$(value "$home/lumcrest.ini" Name)" = "$name" ] && [ "$(value "$home/lumcrest.ini" Music)" = 0 ] &&
    [ "$(value "$home/lumcrest.ini" Sound)" = 0 ] && grep -q '^Stage=' "$home/lumcrest.ini" ||
    fail "folder deleted: changes were lost: $(cat "$home/lumcrest.ini")"
table_kept "$home/lumcrest.ini" || fail "folder deleted: the table was lost"

# No place of the player's own: a home that every user may write to, as /tmp is, and there a
# link of another user. The game says so at the start, writes nothing and plays on.
shared="$work/shared"
mkdir -p "$shared" "$work/elsewhere" && chmod 1777 "$shared"
homeless() {
    printf 'start\nerrors\ntext Bob\nkey 13\nerrors\nget playerName\nclose\n' |
        env -u XDG_CONFIG_HOME HOME="$1" timeout 30 "$driver" --data "$data" --seed 1 2>/dev/null
}
file="$shared/.config/lumcrest/lumcrest.ini"
out=$(homeless "$shared")
[ "$out" = "started
errors: | The settings are not kept in $file: $shared is a folder that other users may write to. Nothing will be saved.
errors: | Unable to write to $file
playerName=Bob
closed" ] || fail "shared home: $out"
[ ! -e "$shared/.config" ] || fail "shared home: $(find "$shared")"
if [ "$(id -u)" = 0 ]; then
    ln -s "$work/elsewhere" "$shared/.config"
    chown -h 65534:65534 "$shared/.config"
    out=$(homeless "$shared")
    [ "$out" = "started
errors: | The settings are not kept in $file: $shared/.config is a link of another user. Nothing will be saved.
errors: | Unable to write to $file
playerName=Bob
closed" ] || fail "another user's link: $out"
    [ -z "$(ls -A "$work/elsewhere")" ] || fail "the link was followed: $(ls -A "$work/elsewhere")"

    # A user with no home at all: no HOME, and none in the system's list of users. Nothing goes
    # to a shared folder (the driver runs from a copy nobody else may reach: see as_ordinary_user).
    uid=54321
    ! getent passwd "$uid" >/dev/null || fail "user $uid has an entry; pick another"
    mkdir -p "$work/program"
    cp "$driver" "$work/program/"
    cp -r "$data" "$work/program/data"
    out=$(printf 'start\nerrors\ntext Bob\nkey 13\nclose\n' |
        setpriv --reuid=$uid --regid=$uid --clear-groups -- env -u HOME -u XDG_CONFIG_HOME \
            timeout 30 "$work/program/$(basename "$driver")" --data "$work/program/data" --seed 1 \
            2>/dev/null)
    left=$(find /tmp -maxdepth 4 -user $uid 2>/dev/null)
    [ -z "$left" ] || {
        find /tmp -maxdepth 4 -user $uid -delete 2>/dev/null
        fail "no home: written to $left"
    }
    [ "$out" = "started
errors: | There is no home folder to keep the settings in (HOME is not set, and the user has none in the system's list). Nothing will be saved.
closed" ] || fail "no home: $out"
fi
echo "settings write failures: all passed"
