#!/bin/bash
# Remakes the staged pictures in docs/screenshots/ from the headless driver, the same on every
# run: an explosion under way, the stage-end explosion's wave (four ticks side by side, the well
# only), and the six stages' backgrounds with a game under way. The driver needs no screen;
# ImageMagick's montage puts the wave's ticks together.
# Usage: scripts/screenshots-staged.sh [DRIVER]   (DRIVER defaults to build/lumcrest-drive)
set -eu
cd "$(dirname "$0")/.."
# shellcheck source=scripts/screenshot-games.sh
. scripts/screenshot-games.sh
drive=${1:-build/lumcrest-drive}
[ -x "$drive" ] || { echo "screenshots-staged: no driver at $drive (build it first)" >&2; exit 1; }
out="$(pwd)/docs/screenshots"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs the driver on standard input with a fresh settings folder; a command it refuses ends the
# script, so an old picture is never left in place of a new one.
run() {
    local answers
    rm -rf "$work/home" && mkdir "$work/home"
    answers=$("$drive" --home "$work/home" --seed "$1")
    if grep '^error:' <<<"$answers" >&2; then
        echo "screenshots-staged: the driver refused a command" >&2
        exit 1
    fi
}
# The settings file's lines on standard input as driver commands.
ini() { while IFS= read -r line; do printf 'ini %s%%0A\n' "$line"; done; }

# The driver never writes over a picture that is there already.
rm -f "$out"/stage[1-6].png "$out"/{explosion,stage-end,level-plaque,wave,chain-steps,game-over}.png
for b in 0 1 2 3 4 5; do
    { game_under_way "$b" | ini; echo start; echo "shot $out/stage$((b + 1)).png"; } | run 11
    echo "screenshots-staged: docs/screenshots/stage$((b + 1)).png"
done

# The bar of cyan rings meets its like: the bursts spilling over their neighbours, shards
# flying and the group's points rising.
{
    game_under_way 3 | ini
    printf 'start\nkey 38\nwait 190\nshot %s\n' "$out/explosion.png"
} | run 11
echo "screenshots-staged: docs/screenshots/explosion.png"

# The last three gems of stage 1 complete a run under a board full of gems; the jar follows, then
# the whole board bursts, from the middle outward.
{
    printf '%s\n' '[Settings]' First=0 '[Techinfo]' Gemsleft=3 Total=300 '[Nextgemshape]' \
        Nextshape1=1 Nextshape2=3 Nextshape3=4 | ini
    echo start
    kinds=(1 3 4 5 6 7 8 9)
    for c in $(seq 10); do
        for r in $(seq 2 10); do
            lowest=3
            [ "$c" -ge 4 ] && [ "$c" -le 6 ] && lowest=6
            v=0
            [ "$r" -ge "$lowest" ] && v=${kinds[$(((3 * c + 2 * r) % 8))]}
            echo "cell $c $r $v"
        done
        v=0
        [ "$c" -ge 4 ] && [ "$c" -le 6 ] && v=2
        echo "cell $c 1 $v"
    done
    printf 'set Shape1 2\nset Shape2 2\nset Shape3 2\nkey 38\nwait 1000\n'
    printf 'shot %s\nwait 444\n' "$out/stage-end.png"
    for k in 1 2 3 4; do printf 'wait 35\nshot %s\n' "$work/wave$k.png"; done
    printf 'wait 700\nshot %s\n' "$out/level-plaque.png"
} | run 1
montage "$work"/wave{1,2,3,4}.png -crop 512x512+92+30 +repage -tile 4x1 -geometry 256x256+2+2 \
    -background '#101020' "$out/wave.png"
echo "screenshots-staged: docs/screenshots/wave.png"
echo "screenshots-staged: docs/screenshots/stage-end.png, level-plaque.png"

# A chain of three steps: greens land under a column that falls into a row of blues, which
# falls into a row of reds; the count of the chain grows in the well.
{
    printf '%s\n' '[Settings]' First=0 '[Techinfo]' Blocks=7 '[Nextgemshape]' Nextshape1=1 \
        Nextshape2=3 Nextshape3=4 | ini
    echo start
    printf 'cell 1 10 4\ncell 2 10 4\ncell 4 10 4\ncell 1 9 5\ncell 2 9 5\ncell 3 10 5\ncell 3 9 4\n'
    printf 'cell 3 8 4\ncell 4 9 2\ncell 5 10 2\ncell 5 9 2\ncell 4 8 5\n'
    printf 'set Shape1 5\nset Shape2 5\nset Shape3 5\nkey 37\nkey 37\nkey 37\nkey 38\n'
    printf 'wait 900\nshot %s\n' "$out/chain-steps.png"
} | run 3
echo "screenshots-staged: docs/screenshots/chain-steps.png"

# A lost game: the well full to its launch row, the final score over the cracking board.
{
    printf '%s\n' '[Settings]' First=0 '[Techinfo]' Score=12480 Blocks=7 | ini
    echo start
    for c in $(seq 10); do for r in $(seq 1 10); do echo "cell $c $r $(((c * 3 + r * 5) % 7 + 1))"; done; done
    printf 'key 38\nwait 400\nshot %s\n' "$out/game-over.png"
} | run 5
echo "screenshots-staged: docs/screenshots/game-over.png"
