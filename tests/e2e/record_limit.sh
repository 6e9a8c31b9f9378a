#!/bin/bash
# The real game under X with --record and a file size limit (ulimit -f) that the recording soon
# passes: the game plays on (the limit's signal does not end it), says at the end that the
# recording is incomplete, and the close still saves the game. The CMake test runs this under
# xvfb-run.
# Usage: record_limit.sh GAME
set -u
game=$1

run_name="record under a file size limit"
# shellcheck source=../support/game_run.sh
source "$(dirname "$0")/../support/game_run.sh"

recording_run
printf '[Settings]\nFirst=0\nName=Tess\n' >"$settings"

# 4 KiB: the head of the recording and a few dozen keys pass it (each key with its time is about
# 40 bytes; the ticks between add more on a slow machine, fewer on a quick one).
(
    ulimit -f 4
    exec "$game" --record "$recording" >"$work/game.log" 2>&1
) &
pid=$!
wid=$(timeout 20 xdotool search --sync --onlyvisible --pid "$pid" 2>/dev/null | head -1)
[ -n "$wid" ] || fail "no window appeared"
xdotool windowfocus --sync "$wid" || fail "cannot focus the window"
sleep 0.5
for i in $(seq 80); do
    xdotool key Left
    sleep 0.05
    xdotool key Right
    sleep 0.05
done
sleep 0.5
kill -0 "$pid" 2>/dev/null || fail "the game ended during play"
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "the game ended with status $status"
[ "$(stat -c %s "$recording")" -le 4096 ] || fail "the recording passed the limit"
grep -q "lumcrest: the recording $recording is incomplete" "$work/game.log" ||
    fail "the incomplete recording was not reported: $(stat -c %s "$recording") bytes; $(cat "$work/game.log")"
grep -q '^Stage=' "$settings" || fail "the game in progress was not saved"
echo "record under a file size limit: passed"
