#!/bin/bash
# Remakes the pictures in docs/screenshots/ from the real game under Xvfb, played with xdotool:
# the first-start name panel, the menu, the help page, a game with gems of every kind, an explosion
# under way, the high-score table with a new entry blinking, and the About box.
# Usage: scripts/screenshots.sh [GAME]   (GAME defaults to build/lumcrest; built when missing)
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
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

# Starts the game with the settings folder $1 (and the settings file $2 when given).
start() {
    export XDG_CONFIG_HOME="$work/$1"
    mkdir -p "$XDG_CONFIG_HOME/lumcrest"
    [ $# -lt 2 ] || printf '%b' "$2" >"$XDG_CONFIG_HOME/lumcrest/lumcrest.ini"
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
board="[Settings]\nFirst=0\nName=Robin\nSound=1\nMusic=1\n"
board+="[Gemshape]\nShape1=3\nShape2=3\nShape3=3\n[Nextgemshape]\nNextshape1=5\nNextshape2=11\nNextshape3=7\n"
board+="[Techinfo]\nStage=4\nGemsleft=60\nScore=18350\nBlocks=9\nBackground=3\nTotal=200\n[Gembox]\n"
board+="Gem6=9\nGem7=1\nGem8=12\nGem9=7\nGem10=8\nGem16=11\nGem17=7\nGem18=6\nGem19=8\nGem20=12\n"
board+="Gem26=8\nGem27=8\nGem28=2\nGem29=8\nGem30=2\nGem36=9\nGem37=8\nGem38=9\nGem39=6\nGem40=5\n"
board+="Gem46=7\nGem47=1\nGem48=6\nGem49=7\nGem50=1\nGem56=2\nGem57=8\nGem58=3\nGem59=8\nGem60=1\n"
board+="Gem66=2\nGem67=4\nGem68=3\nGem69=11\nGem70=2\nGem76=3\nGem77=8\nGem78=2\nGem79=6\nGem80=1\n"
board+="Gem86=1\nGem87=3\nGem88=3\nGem89=7\nGem90=2\nGem96=6\nGem97=9\nGem98=1\nGem99=11\nGem100=6\n"
start game "$board"
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
lost="[Settings]\nFirst=0\nName=Robin\nSound=1\nMusic=1\n"
lost+="[Gemshape]\nShape1=1\nShape2=2\nShape3=3\n"
lost+="[Techinfo]\nStage=2\nGemsleft=40\nScore=25400\nBlocks=7\nBackground=2\nTotal=120\n[Gembox]\n"
lost+="Gem2=5\nGem3=5\nGem4=1\nGem5=7\nGem6=7\nGem7=5\nGem8=5\nGem9=1\nGem10=4\nGem12=4\n"
lost+="Gem13=4\nGem14=6\nGem15=2\nGem16=11\nGem17=6\nGem18=5\nGem19=11\nGem20=1\nGem22=5\nGem23=2\n"
lost+="Gem24=11\nGem25=1\nGem26=6\nGem27=2\nGem28=3\nGem29=6\nGem30=7\nGem32=1\nGem33=6\nGem34=3\n"
lost+="Gem35=7\nGem36=2\nGem37=5\nGem38=1\nGem39=3\nGem40=5\nGem42=2\nGem43=6\nGem44=5\nGem45=3\n"
lost+="Gem46=6\nGem47=5\nGem48=3\nGem49=11\nGem50=7\nGem52=2\nGem53=5\nGem54=5\nGem55=1\nGem56=4\n"
lost+="Gem57=1\nGem58=1\nGem59=4\nGem60=5\nGem62=6\nGem63=5\nGem64=7\nGem65=6\nGem66=1\nGem67=6\n"
lost+="Gem68=2\nGem69=3\nGem70=7\nGem72=2\nGem73=7\nGem74=5\nGem75=6\nGem76=7\nGem77=2\nGem78=11\n"
lost+="Gem79=3\nGem80=5\nGem82=5\nGem83=7\nGem84=4\nGem85=2\nGem86=5\nGem87=1\nGem88=1\nGem89=2\n"
lost+="Gem90=3\nGem92=6\nGem93=2\nGem94=4\nGem95=4\nGem96=2\nGem97=7\nGem98=3\nGem99=5\nGem100=4\n"
start lost "$lost"
xdotool key Up
sleep 3
shot highscores
stop
