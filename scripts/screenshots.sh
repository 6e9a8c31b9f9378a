#!/bin/bash
# Remakes the pictures in docs/screenshots/ from the real game under Xvfb, played with xdotool:
# the first-start name panel, the menu, the help page, a game with gems of every kind, an explosion
# under way, the high-score table with a new entry blinking, and the About box.
# Usage: scripts/screenshots.sh [GAME]   (GAME defaults to build/lumcrest; built when missing)
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
# shellcheck source=scripts/screenshot-games.sh
. scripts/screenshot-games.sh
game=${1:-build/lumcrest}
[ -x "$game" ] || scripts/build.sh
out="$root/docs/screenshots"
mkdir -p "$out"

work=$(mktemp -d)
pid="" xvfb=""
cleanup() {
    [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "screenshots: $*" >&2; exit 1; }

# A screen the size of the window: with no window manager the game sits at its top-left corner.
# Xvfb picks a free display number and writes it to fd 3 when it is ready.
Xvfb -displayfd 3 -screen 0 849x588x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -n 1 "$work/display")"

export SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy HOME="$work/home"
mkdir -p "$HOME" "$work/bin"
printf '#!/bin/sh\nexit 0\n' >"$work/bin/xdg-open" && chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH"

# Starts the game with the settings folder $1 (and the settings file's lines $2 when given).
start() {
    export XDG_CONFIG_HOME="$work/$1"
    mkdir -p "$XDG_CONFIG_HOME/lumcrest"
    [ $# -lt 2 ] || printf '%s\n' "$2" >"$XDG_CONFIG_HOME/lumcrest/lumcrest.ini"
    "$game" --seed 11 >"$work/game.log" 2>&1 &
    pid=$!
    wid=$(timeout 20 xdotool search --sync --onlyvisible --pid "$pid" 2>/dev/null | head -1)
    [ -n "$wid" ] || fail "no window appeared"
    xdotool windowfocus --sync "$wid"
    sleep 1.2
}
stop() {
    kill -TERM "$pid"
    wait "$pid" || true
    pid=""
}
shot() {
    import -window root "png:$out/$1.png"
    echo "screenshots: docs/screenshots/$1.png"
}
click() { xdotool mousemove --window "$wid" "$1" "$2" sleep 0.15 click 1; }

# First start: the name panel, the menu, the first-play help, the About box.
start first
shot name
xdotool type --delay 60 "Robin"
xdotool key Return
sleep 0.8
xdotool mousemove --window "$wid" 20 20
sleep 0.4
shot menu
click 409 471
sleep 0.8
shot about
about=$(xdotool search --onlyvisible --pid "$pid" | grep -v "^$wid\$" | head -1)
[ -n "$about" ] && xdotool windowfocus --sync "$about" && xdotool key Return
sleep 0.5
xdotool windowfocus --sync "$wid"
click 409 170
sleep 1
shot help
stop

# A game under way with every kind of gem, jokers and a bomb; then a launch that sets off a chain.
start game "$(game_under_way 3)"
shot game
# The explosion lasts a blink: a burst of frames, and the one that differs most from the still
# game is kept.
xdotool key Up
bursts=""
for i in 1 2 3 4 5 6 7 8; do
    (sleep "$(printf '0.%02d' $((i * 5)))" && import -window root "png:$work/burst$i.png") &
    bursts="$bursts $!"
done
# shellcheck disable=SC2086
wait $bursts
best=0
for i in 1 2 3 4 5 6 7 8; do
    n=$(compare -metric AE "$work/burst$i.png" "$out/game.png" null: 2>&1 || true)
    n=${n%%.*}
    if [[ "$n" =~ ^[0-9]+$ ]] && [ "$n" -gt "$best" ]; then best=$n; cp "$work/burst$i.png" "$out/chain.png"; fi
done
[ "$best" -gt 0 ] || fail "no frame of the explosion"
echo "screenshots: docs/screenshots/chain.png"
stop

# A lost game whose score enters the table: the new line blinks.
start lost "$(game_about_to_be_lost)"
xdotool key Up
sleep 3
shot highscores
stop
