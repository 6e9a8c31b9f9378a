#!/bin/sh
# Shots of the menu and of both help panels: the logo's corners show the menu backdrop that lies
# under them, not a rectangle of the logo's own; the help picture's gold edge runs to its corners,
# the same over the menu and over the field.
set -eu
driver="$1"
data="$2"
backdrop="$3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "picture corners: $*" >&2; exit 1; }
# Mean colour of the 2 x 2 pixels at X, Y of a picture, as "R G B".
patch() {
    convert "$1" -crop "2x2+$2+$3" +repage -scale '1x1!' \
        -format '%[fx:round(255*r)] %[fx:round(255*g)] %[fx:round(255*b)]' info:
}
# Largest channel difference of two "R G B" colours.
apart() {
    echo "$1 $2" | awk '{ d = 0; for (i = 1; i <= 3; i++) { e = $i - $(i + 3); if (e < 0) e = -e;
        if (e > d) d = e } print d }'
}

# A later run: the field at the start, the menu (with the logo Image5 at 25, 495, 200 x 72) by
# the MENU button, the help panel from the menu, then the first-play help over the field.
mkdir -p "$work/home"
printf '[Settings]\nFirst=0\n' >"$work/home/lumcrest.ini"
printf 'start\nshot %s\nclick 700 550\nshot %s\nclick 400 410\ncontrol helppanel\nshot %s\nkey 27\nshow Menupanel 0\nshow helppanel2 1\nshot %s\n' \
    "$work/field.png" "$work/menu.png" "$work/help.png" "$work/help2.png" |
    "$driver" --home "$work/home" --data "$data" --seed 1 >"$work/answers"
worst=0
for corner in "25 495" "223 495" "25 565" "223 565"; do
    set -- $corner
    d=$(apart "$(patch "$work/menu.png" "$1" "$2")" "$(patch "$backdrop" "$1" "$2")")
    [ "$d" -gt "$worst" ] && worst=$d
    [ "$d" -le 12 ] || fail "the logo's corner at $1,$2 is $d away from the backdrop under it"
done
d=$(apart "$(patch "$work/menu.png" 53 531)" "$(patch "$backdrop" 53 531)")
[ "$d" -gt 40 ] || fail "no logo on the menu"
echo "logo corners within $worst of the backdrop under them"

grep -q '^helppanel visible=1 showing=1' "$work/answers" || fail "the help panel did not open"
worst=0
for corner in "88 16" "737 16" "88 555" "737 555"; do
    set -- $corner
    menu=$(patch "$work/help.png" "$1" "$2")
    field=$(patch "$work/help2.png" "$1" "$2")
    d=$(apart "$menu" "$field")
    [ "$d" -gt "$worst" ] && worst=$d
    [ "$d" -le 12 ] || fail "the help picture's corner at $1,$2 differs over the menu and the field"
    # Its own gold edge, not a patch of sky: warm and not dark.
    echo "$menu" | awk '{ exit !($1 >= 90 && $1 > $3 + 30) }' ||
        fail "the help picture's corner at $1,$2 is not its gold edge ($menu)"
    d=$(apart "$field" "$(patch "$work/field.png" "$1" "$2")")
    [ "$d" -gt 0 ] || fail "the first-play help does not cover the field at $1,$2"
done
echo "help corners: gold edge, within $worst over the menu and the field"
