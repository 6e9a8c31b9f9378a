#!/bin/sh
# The command line without a display: --help and --version answer and open no window, mistakes
# are one line and status 2, a recording that cannot be written stops the game before it starts.
# Usage: cli_test.sh GAME VERSION
set -u
game=$1 version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL (command line): $*" >&2; exit 1; }
unset DISPLAY WAYLAND_DISPLAY
export SDL_VIDEODRIVER=x11 XDG_CONFIG_HOME="$work/config"

"$game" --help >"$work/out" 2>"$work/err" || fail "--help ended with status $?"
[ ! -s "$work/err" ] || fail "--help wrote to standard error: $(cat "$work/err")"
for word in "Usage: lumcrest" "--record FILE" "--replay FILE" "--seed N" "--version" "$work/config/lumcrest/lumcrest.ini"; do
    grep -qF -- "$word" "$work/out" || fail "--help does not mention $word"
done
[ ! -e "$work/config" ] || fail "--help created the settings folder"

out=$("$game" --version 2>&1) || fail "--version ended with status $?"
[ "$out" = "lumcrest $version" ] || fail "--version said '$out', not 'lumcrest $version'"

for bad in "--frobnicate" "--seed x" "--seed" "stray" "--record" "--replay" "--replay a --seed 1"; do
    # shellcheck disable=SC2086
    "$game" $bad >"$work/out" 2>"$work/err"
    status=$?
    [ "$status" -eq 2 ] || fail "'$bad' ended with status $status, not 2"
    [ "$(wc -l <"$work/err")" -eq 1 ] || fail "'$bad' did not give one line: $(cat "$work/err")"
    grep -q '^lumcrest: ' "$work/err" || fail "'$bad': $(cat "$work/err")"
    [ ! -s "$work/out" ] || fail "'$bad' wrote to standard output"
done

"$game" --record "$work/no/such/folder/rec.txt" >"$work/out" 2>"$work/err"
[ $? -eq 1 ] || fail "an unwritable recording did not stop the game"
grep -q 'cannot write' "$work/err" || fail "an unwritable recording: $(cat "$work/err")"
# A replay of what is not a recording stops before any window, and never touches the settings.
printf 'key 38\n' >"$work/notes.txt"
"$game" --replay "$work/notes.txt" >"$work/out" 2>"$work/err"
[ $? -eq 1 ] || fail "a replay of a file that is no recording did not stop"
grep -q "line 1: 'key' before start" "$work/err" || fail "not a recording: $(cat "$work/err")"
[ ! -e "$work/config" ] || fail "a refused replay created the settings folder"
echo "command line: passed"
