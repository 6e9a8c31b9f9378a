#!/bin/sh
# A close writes all 102 saved-game keys in their order; the next start restores the game with the
# bar at home in columns 4 to 6.
set -eu
driver="$1"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
fail() { echo "saved game: $*" >&2; exit 1; }

"$driver" --home "$home" --seed 3 >"$home/run1.txt" <<'SCRIPT'
start
set Score 4321
set Stage 3
set Gemsleft 57
set Total 21
set Background 4
cell 1 2 7
cell 10 10 12
cell 5 6 11
get Shape1
get Shape2
get Shape3
close
SCRIPT
keys=$(grep -c '=' "$home/lumcrest.ini")
[ "$keys" -eq 102 ] || fail "expected 102 keys, found $keys"
order=$(grep -v '^\[' "$home/lumcrest.ini" | sed 's/=.*//' | tr '\n' ' ')
expected="Shape1 Shape2 Shape3 Nextshape1 Nextshape2 Nextshape3 Stage Gemsleft Score Blocks Background Total"
for c in 0 1 2 3 4 5 6 7 8 9; do
    for r in 2 3 4 5 6 7 8 9 10; do expected="$expected Gem$((10 * c + r))"; done
done
[ "$order" = "$expected " ] || fail "keys out of order: $order"
grep -q '^Gem100=12$' "$home/lumcrest.ini" || fail "top right cell not stored"

# The next start continues the saved game.
printf '[Settings]\nFirst=0\n' >>"$home/lumcrest.ini"
"$driver" --home "$home" --seed 3 >"$home/run2.txt" <<'SCRIPT'
start
get Score
get Stage
get Gemsleft
get Total
get fillStep
get Background
cell 1 2
cell 10 10
cell 5 6
get Shape1
get Shape2
get Shape3
cell 4 1
cell 5 1
cell 6 1
get shapeX1
get shapeX3
control Menupanel
SCRIPT
s1=$(sed -n 's/^Shape1=//p' "$home/run1.txt")
s2=$(sed -n 's/^Shape2=//p' "$home/run1.txt")
s3=$(sed -n 's/^Shape3=//p' "$home/run1.txt")
cat >"$home/expected.txt" <<EXPECTED
started
Score=4321
Stage=3
Gemsleft=57
Total=21
fillStep=6
Background=4
cell 1 2=7
cell 10 10=12
cell 5 6=11
Shape1=$s1
Shape2=$s2
Shape3=$s3
cell 4 1=$s1
cell 5 1=$s2
cell 6 1=$s3
shapeX1=14
shapeX3=16
Menupanel visible=0 showing=0 left=0 top=0 width=857 height=622 picture=- color=- caption=
EXPECTED
diff -u "$home/expected.txt" "$home/run2.txt" || fail "the restored game differs"
