# shellcheck shell=bash
# The games the screenshot scripts start from, written once for scripts/screenshots.sh (the game
# under Xvfb) and scripts/screenshots-staged.sh (the headless driver). Each function prints a
# settings file, one line of it a line. Sourced, not run.

# The [Gembox] lines of a well: after the first row FIRST, one word a column (1 to 10), each the
# kinds of that column's cells from row FIRST up to row 10 (0 empty, 11 joker, 12 bomb). A cell is
# GemN with N = 10 x (column - 1) + row; row 1, where the bar waits, is never saved.
gembox() {
    local first=$1 c=0 column r v
    shift
    for column in "$@"; do
        r=$first
        for v in $column; do
            [ "$v" = 0 ] || echo "Gem$((10 * c + r))=$v"
            r=$((r + 1))
        done
        c=$((c + 1))
    done
}

# A game under way at stage 4 with every kind of gem, jokers and bombs, on background $1: the
# waiting bar of three alike sets off a chain at its launch.
game_under_way() {
    printf '%s\n' '[Settings]' First=0 Name=Robin Sound=1 Music=1 \
        '[Gemshape]' Shape1=3 Shape2=3 Shape3=3 \
        '[Nextgemshape]' Nextshape1=5 Nextshape2=11 Nextshape3=7 \
        '[Techinfo]' Stage=4 Gemsleft=60 Score=18350 Blocks=9 "Background=$1" Total=200 \
        '[Gembox]'
    gembox 6 '9 1 12 7 8' '11 7 6 8 12' '8 8 2 8 2' '9 8 9 6 5' '7 1 6 7 1' '2 8 3 8 1' \
        '2 4 3 11 2' '3 8 2 6 1' '1 3 3 7 2' '6 9 1 11 6'
}

# A game at stage 2 with a full well: the next launch loses it, and its score enters the table.
game_about_to_be_lost() {
    printf '%s\n' '[Settings]' First=0 Name=Robin Sound=1 Music=1 \
        '[Gemshape]' Shape1=1 Shape2=2 Shape3=3 \
        '[Techinfo]' Stage=2 Gemsleft=40 Score=25400 Blocks=7 Background=2 Total=120 '[Gembox]'
    gembox 2 '5 5 1 7 7 5 5 1 4' '4 4 6 2 11 6 5 11 1' '5 2 11 1 6 2 3 6 7' '1 6 3 7 2 5 1 3 5' \
        '2 6 5 3 6 5 3 11 7' '2 5 5 1 4 1 1 4 5' '6 5 7 6 1 6 2 3 7' '2 7 5 6 7 2 11 3 5' \
        '5 7 4 2 5 1 1 2 3' '6 2 4 4 2 7 3 5 4'
}
