#!/bin/sh
# A player's name in Hebrew, Arabic, emoji, CJK or with stacked accents shows on the welcome
# plate, in the name box and in the high-score table: the label's box holds ink where the same
# scene with a blank name (a no-break space) has none.
set -eu
driver="$1"
data="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "names in every script: $*" >&2; exit 1; }

# Shots of NAME's scenes into $work/PREFIX-plate.png and PREFIX-table.png; the answers (the
# controls' boxes) into $work/PREFIX.answers.
scenes() {
    mkdir -p "$work/$2"
    printf '[Settings]\nFirst=0\nName=%s\n[Scoreline1]\nName=%s\nScore=20000\n' "$1" "$1" \
        >"$work/$2/lumcrest.ini"
    printf '%s\n' start 'show Menupanel 1' 'show overpanel 1' 'control namelabel' \
        'control Playersname' "shot $work/$2-plate.png" 'show overpanel 0' 'show Scorepanel 1' \
        'control name1' "shot $work/$2-table.png" |
        "$driver" --home "$work/$2" --data "$data" --seed 1 >"$work/$2.answers"
}

# The box of CONTROL in ANSWERS as "W H X Y" in window pixels, its parent at PX, PY.
box() {
    grep "^$2 " "$1" | sed -E 's/.* left=([0-9-]+) top=([0-9-]+) width=([0-9]+) height=([0-9]+).*/\3 \4 \1 \2/' |
        awk -v px="$3" -v py="$4" '{ print $1, $2, $3 + px, $4 + py }'
}

# Pixels of the box W H X Y that differ between two shots by more than 8 % in some channel.
differing() {
    region="[$3x$4+$5+$6]"
    convert "$1$region" "$2$region" -compose difference -composite -threshold 8% \
        -separate -evaluate-sequence max -format '%[fx:round(mean*w*h)]' info:
}

scenes ' ' blank
i=0
for name in 'שלום' 'مرحبا' '😀😺' '你好' 'Zoë̃' 'שלום😀é'; do
    i=$((i + 1))
    scenes "$name" "n$i"
    # The welcome plate's name (in the menu), the name box (in the name panel at 181, 123) and
    # line 1 of the table (in the table at 217, 40).
    for scene in "plate namelabel 0 0" "plate Playersname 181 123" "table name1 217 40"; do
        set -- $scene
        set -- "$1" "$2" $(box "$work/n$i.answers" "$2" "$3" "$4")
        [ "$3" -gt 0 ] || fail "$name: $2 has no width"
        ink=$(differing "$work/n$i-$1.png" "$work/blank-$1.png" "$3" "$4" "$5" "$6")
        [ "${ink%%.*}" -ge 25 ] || fail "$name is not seen in $2 ($ink pixels of ink in $3 x $4)"
        echo "$name in $2: $ink pixels"
    done
done
