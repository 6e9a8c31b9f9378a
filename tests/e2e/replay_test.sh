#!/bin/bash
# A recording watched in the real window with --replay: it reaches the state the driver reaches
# from the same recording (score, stage, gems counted), without reading or writing the player's
# settings file; a recording the game cannot follow says at which line it went another way, as
# the driver does; Space pauses and Escape ends the replay. The CMake test runs this under
# xvfb-run.
# Usage: replay_test.sh GAME DRIVER
set -u
game=$1 driver=$2

run_name="replay"
# shellcheck source=../support/game_run.sh
source "$(dirname "$0")/../support/game_run.sh"
run_logs=(game.log watch.log)

recording_run

window_of() {
    local w
    w=$(timeout 20 xdotool search --sync --onlyvisible --pid "$1" 2>/dev/null | head -1)
    [ -n "$w" ] || fail "no window appeared"
    xdotool windowfocus --sync "$w" || fail "cannot focus the window"
    sleep 0.5
    echo "$w"
}
press() { xdotool key "$1"; sleep "${2:-0.3}"; }

# A saved game with gems to clear, played for a few seconds and recorded.
{
    printf '[Settings]\nFirst=0\nName=Tess\n'
    printf '[Gemshape]\nShape1=2\nShape2=2\nShape3=2\n'
    printf '[Nextgemshape]\nNextshape1=1\nNextshape2=3\nNextshape3=4\n'
    printf '[Techinfo]\nStage=1\nGemsleft=20\nScore=100\nBlocks=6\nBackground=1\nTotal=300\n'
    printf '[Gembox]\nGem12=5\nGem22=6\nGem52=2\nGem62=2\nGem73=1\n'
} >"$settings"
"$game" --record "$recording" >"$work/game.log" 2>&1 &
pid=$!
window_of "$pid" >/dev/null
press Up 1.2
press Left
press Up 1.2
press Down
press Right
press Up 1.5
kill -TERM "$pid"
wait "$pid" || fail "the recorded game ended badly"
pid=""
tail -n 1 "$recording" | grep -qx close || fail "the recording does not end with close"
grep -q '^ini ' "$recording" || fail "the settings file was not carried into the recording"
cp "$settings" "$work/player.ini"
touch -d '2001-01-01' "$settings"
before=$(ls -la --time-style=+%s "$XDG_CONFIG_HOME/lumcrest")

# The driver's answers at the end of the recording (before its close).
answers() {
    head -n -1 "$1" >"$work/cut.txt"
    printf 'get Score\nget Stage\nget Total\n' >>"$work/cut.txt"
    rm -rf "$work/drive" && mkdir "$work/drive"
    "$driver" --home "$work/drive" <"$work/cut.txt" | grep -v '^started$'
}
expected=$(answers "$recording" | tr '\n' ' ')
case "$expected" in *error*) fail "the driver went astray: $expected" ;; esac

# The whole recording, watched.
timeout 120 "$game" --replay "$recording" >"$work/watch.log" 2>&1 || fail "the replay failed"
summary=$(grep 'replayed to line' "$work/watch.log")
lines=$(wc -l <"$recording")
echo "$summary" | grep -q "replayed to line $lines of $lines:" || fail "the replay stopped early: $summary"
for field in $expected; do
    echo "$summary" | grep -q "$field" || fail "the window's $field differs: $summary (driver: $expected)"
done
cmp -s "$settings" "$work/player.ini" || fail "the player's settings file changed"
[ "$(stat -c %Y "$settings")" = "$(date -d 2001-01-01 +%s)" ] || fail "the player's file was written"
[ "$(ls -la --time-style=+%s "$XDG_CONFIG_HOME/lumcrest")" = "$before" ] ||
    fail "the player's settings folder changed: $(ls -la "$XDG_CONFIG_HOME/lumcrest")"

# A recording that cannot be followed: a flight tick before any launch.
at=$(grep -n '^start$' "$recording" | cut -d: -f1)
sed "${at}a tick Timer1" "$recording" >"$work/astray.txt"
driver_says=$("$driver" --home "$(mktemp -d -p "$work")" <"$work/astray.txt" | grep '^error' | head -1)
[ "$driver_says" = "error: tick Timer1: the timer is off" ] || fail "the driver said: $driver_says"
# The window stays on the moment it went astray until Escape.
"$game" --replay "$work/astray.txt" >"$work/watch.log" 2>&1 &
pid=$!
wid=$(window_of "$pid")
for _ in $(seq 50); do grep -q 'another way' "$work/watch.log" && break; sleep 0.2; done
grep -q "another way than the recording at line $((at + 1)): tick Timer1: the timer is off" \
    "$work/watch.log" || fail "the replay did not say where it went astray"
kill -0 "$pid" 2>/dev/null || fail "the window did not stay"
xdotool windowfocus --sync "$wid"
press Escape 1
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 1 ] || fail "a replay that went astray ended with status $status"

# Space holds the replay where it is; Escape ends it there.
"$game" --replay "$recording" >"$work/watch.log" 2>&1 &
pid=$!
wid=$(window_of "$pid")
press space 0.2
sleep 8
kill -0 "$pid" 2>/dev/null || fail "the paused replay ended by itself"
xdotool windowfocus --sync "$wid"
press Escape 1
wait "$pid" || fail "the replay ended by Escape with a failure"
pid=""
grep 'replayed to line' "$work/watch.log" | grep -vq "line $lines of" ||
    fail "the paused replay went on: $(cat "$work/watch.log")"
echo "replay: passed"
