#!/bin/sh
# A data folder with a file missing or damaged: the start fails with a clear message, or the game
# goes on and reports the one action that failed; nothing crashes.
set -eu
driver="$1"
data="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "missing assets: $*" >&2; exit 1; }
fresh() { rm -rf "$work/data" "$work/home"; cp -r "$data" "$work/data"; mkdir -p "$work/home"; }
run() { "$driver" --home "$work/home" --data "$work/data" --seed 1; }

fresh
rm "$work/data/help.jpg"
out=$(printf 'start\n' | run)
[ "$out" = 'error: Cannot open file "help.jpg". No such file or directory' ] || fail "no help: $out"

# A folder or a pipe where a picture should be: a clear message at once, no library's words, no
# wait for a writer.
fresh
rm "$work/data/help.jpg" && mkdir "$work/data/help.jpg"
out=$(printf 'start\n' | run)
[ "$out" = 'error: Cannot open file "help.jpg". It is a folder' ] || fail "folder as help: $out"
fresh
rm "$work/data/help.jpg" && mkfifo "$work/data/help.jpg"
out=$(printf 'start\n' | timeout 20 "$driver" --home "$work/home" --data "$work/data" --seed 1) ||
    fail "a pipe as help picture hung the start"
[ "$out" = 'error: Cannot open file "help.jpg". It is not a regular file' ] || fail "pipe as help: $out"

fresh
rm "$work/data/menumusic.mp3" && mkfifo "$work/data/menumusic.mp3"
out=$(printf 'start\n' | timeout 20 "$driver" --home "$work/home" --data "$work/data" --seed 1) ||
    fail "a pipe as menu track hung the start"
case "$out" in "error: "*) ;; *) fail "pipe as menu track: $out" ;; esac

fresh
head -c 1000 "$data/help.jpg" >"$work/data/help.jpg"
out=$(printf 'start\n' | run)
case "$out" in "error: JPEG error:"*) ;; *) fail "cut help picture: $out" ;; esac

fresh
rm "$work/data/menumusic.mp3"
out=$(printf 'start\n' | run)
case "$out" in "error: "*) ;; *) fail "no menu track: $out" ;; esac

# During play: a button picture gone fails that rollover alone, and the game goes on.
fresh
rm "$work/data/Hi_Sc_1.bmp"
printf '[Settings]\nFirst=0\n' >"$work/home/lumcrest.ini"
out=$(printf 'start\nclick 700 550\nmove 400 230\nerrors\nget scoreLit\nmove 400 410\nsounds\n' | run)
expected='started
errors: | Cannot open file "Hi_Sc_1.bmp". No such file or directory
scoreLit=0
sounds: rollover.wav'
[ "$out" = "$expected" ] || fail "a missing hover picture: $out"

# A missing effect is not reported as an error (the sound device answers it with the beep).
fresh
rm "$work/data/gemstouch.wav"
printf '[Settings]\nFirst=0\n' >"$work/home/lumcrest.ini"
out=$(printf 'start\nkey 38\nwait 300\nerrors\n' | run)
[ "$out" = "$(printf 'started\nerrors:')" ] || fail "a missing effect: $out"
echo "missing assets: passed"
