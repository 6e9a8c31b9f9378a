#!/bin/bash
# A session of the real game under X, played with xdotool and recorded with --record, replays in
# the driver from an empty folder to the same saved game: the [Gembox] keys and the score, byte
# for byte. The CMake test runs this under xvfb-run.
# Usage: record_test.sh CASE GAME DRIVER
#   CASE  chain: first start, a name, Play, the help closed, moves and launches chosen to set off
#                a chain, closed by SIGTERM
#         stage: a saved game one group short of its stage's end: the launch ends the stage, the
#                jar drains, the next stage begins; closed by SIGTERM
set -u
case_name=$1 game=$2 driver=$3

run_name="record $case_name"
# shellcheck source=../support/game_run.sh
source "$(dirname "$0")/../support/game_run.sh"

recording_run
mkdir -p "$work/replay"

start_game() {
    "$game" --record "$recording" "$@" >"$work/game.log" 2>&1 &
    pid=$!
    wid=$(timeout 20 xdotool search --sync --onlyvisible --pid "$pid" 2>/dev/null | head -1)
    [ -n "$wid" ] || fail "no window appeared"
    xdotool windowfocus --sync "$wid" || fail "cannot focus the window"
    sleep 0.5
}
press() { xdotool key "$1"; sleep "${2:-0.25}"; }

case "$case_name" in
chain)
    start_game
    xdotool type --delay 60 "Tess"
    press Return 0.5
    xdotool mousemove --window "$wid" 409 170 sleep 0.2 click 1
    sleep 0.8
    # The first key closes the first-play help (and moves the bar); then launches chosen by
    # looking ahead in the driver, which replays the recording written so far.
    press Right 0.6
    python3 "$(dirname "$0")/record_player.py" "$driver" "$recording" "$wid" 4 16 >"$work/play.log" ||
        fail "the player failed: $(cat "$work/play.log")"
    cat "$work/play.log"
    grep -q ', [2-9] explosions' "$work/play.log" || echo "note: no chain was to be had this time"
    ;;
stage)
    {
        printf '[Settings]\nFirst=0\nName=Tess\nSound=1\nMusic=1\n'
        printf '[Gemshape]\nShape1=2\nShape2=2\nShape3=2\n'
        printf '[Nextgemshape]\nNextshape1=1\nNextshape2=3\nNextshape3=4\n'
        printf '[Techinfo]\nStage=1\nGemsleft=3\nScore=100\nBlocks=6\nBackground=1\nTotal=300\n'
        printf '[Gembox]\nGem12=5\nGem22=6\nGem73=1\n'
    } >"$settings"
    cp "$settings" "$work/before.ini"
    start_game
    press Up 6
    press Left 0.4
    press Up 2
    ;;
*) fail "unknown case" ;;
esac

kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "the game ended with status $status"
[ -s "$settings" ] || fail "the game saved nothing"
tail -n 1 "$recording" | grep -qx close || fail "the recording does not end with close"
grep -q '^tick Timer1$' "$recording" || fail "no flight was recorded"
grep -q '^key 38$' "$recording" || fail "no launch was recorded"

"$driver" --home "$work/replay" <"$recording" >"$work/answers.txt" 2>"$work/replay.err"
grep -q '^error' "$work/answers.txt" && fail "the replay went astray: $(grep '^error' "$work/answers.txt" | head -3)"
tail -n 1 "$work/answers.txt" | grep -qx closed || fail "the replay did not close"

# The [Gembox] section and the score, byte for byte.
section() { awk -v s="[$2]" '/^\[/ { on = ($0 == s); next } on' "$1"; }
score() { section "$1" Techinfo | grep '^Score='; }
[ -n "$(section "$settings" Gembox)" ] || fail "no [Gembox] in the saved game"
[ "$(section "$settings" Gembox)" = "$(section "$work/replay/lumcrest.ini" Gembox)" ] ||
    fail "the replayed [Gembox] differs: $(diff <(section "$settings" Gembox) <(section "$work/replay/lumcrest.ini" Gembox) | head)"
[ "$(score "$settings")" = "$(score "$work/replay/lumcrest.ini")" ] ||
    fail "the replayed score differs: $(score "$settings") / $(score "$work/replay/lumcrest.ini")"
cmp -s "$settings" "$work/replay/lumcrest.ini" || fail "the replayed settings file differs"

# What the play was meant to show did happen.
played_score=$(score "$settings" | cut -d= -f2)
case "$case_name" in
chain)
    [ "$played_score" -gt 0 ] || fail "no group exploded (score $played_score): $(cat "$work/play.log")"
    [ "$(grep -c '^key' "$recording")" -ge 12 ] || fail "fewer than a dozen keys were recorded"
    ;;
stage)
    grep -q '^ini ' "$recording" || fail "the settings file was not carried into the recording"
    stage=$(section "$settings" Techinfo | sed -n 's/^Stage=//p')
    [ "$stage" = 2 ] || fail "the stage did not change (stage $stage)"
    grep -q '^tick jartimer$' "$recording" || fail "the jar did not run"
    ;;
esac
echo "record $case_name: passed"
