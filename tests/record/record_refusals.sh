#!/bin/bash
# `lumcrest --record FILE` refuses, before any window, a FILE it must not write: the player's
# settings file (by its name, a symbolic or a hard link, or while it does not exist yet, and also
# when it is itself a link to a file elsewhere), a FIFO with nobody reading it, a folder, a device.
# Each says why on one line and ends with status 1, the file left as it was. No display is needed:
# a refusal comes first, and a file it takes is then met by the game's own "no display".
# Usage: record_refusals.sh GAME
set -u
game=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

unset DISPLAY WAYLAND_DISPLAY
export SDL_VIDEODRIVER=x11 HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
settings="$XDG_CONFIG_HOME/lumcrest/lumcrest.ini"
mkdir -p "$(dirname "$settings")"
{
    printf '[Settings]\nFirst=0\nName=Tess\n'
    for i in 1 2 3 4 5 6 7 8 9 10; do printf '[Scoreline%d]\nName=P%d\nScore=%d\n' $i $i $((1100 - i * 100)); done
} >"$settings"
cp "$settings" "$work/before.ini"
ln -s "$settings" "$work/symlink"
ln "$settings" "$work/hardlink"
mkfifo "$work/fifo"

# Runs the game recording to $1 (with a time limit: the fault was a hang); $2 the reason expected.
refused() {
    local status=0
    timeout 10 "$game" --record "$1" >"$work/out" 2>"$work/err" || status=$?
    [ "$status" -eq 1 ] || fail "--record $1 ended with status $status: $(cat "$work/err")"
    [ "$(wc -l <"$work/err")" -eq 1 ] || fail "--record $1 said: $(cat "$work/err")"
    grep -q "^lumcrest: cannot write $1: $2" "$work/err" ||
        fail "--record $1 said: $(cat "$work/err")"
    [ ! -e "$work/before.ini" ] || cmp -s "$settings" "$work/before.ini" || fail "--record $1 changed the settings file"
}

refused "$settings" "it is the settings file $settings"
refused "$work/symlink" "it is the settings file"
refused "$work/hardlink" "it is the settings file"
refused "$work/fifo" "it is a FIFO"
refused "$work" "it is a folder"
refused /dev/null "not a regular file"

# A settings file that is itself a symbolic link (to a file kept elsewhere): the file it leads to
# is the settings file, whichever name the recording is given.
mv "$settings" "$work/kept.ini"
ln -s "$work/kept.ini" "$settings"
refused "$work/kept.ini" "it is the settings file $settings"
refused "$settings" "it is the settings file $settings"
rm "$settings"
mv "$work/kept.ini" "$settings"

# A first run: the settings file is not there yet, and is not left behind as a recording.
rm "$settings" "$work/hardlink" "$work/before.ini"
refused "$settings" "it is the settings file"
[ ! -e "$settings" ] || fail "a refused recording left the settings file behind"

# A new file, and an old one, are taken (and emptied): the game goes on to look for a display.
printf 'old\n' >"$work/old.txt"
for file in "$work/new.txt" "$work/old.txt"; do
    timeout 10 "$game" --record "$file" >"$work/out" 2>"$work/err"
    grep -q 'cannot write' "$work/err" && fail "--record $file was refused: $(cat "$work/err")"
    grep -q 'display' "$work/err" || fail "--record $file: $(cat "$work/err")"
    [ -f "$file" ] && [ ! -s "$file" ] || fail "--record $file did not take the file"
done
echo "record refusals: passed"
