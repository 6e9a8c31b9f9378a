#!/bin/sh
# The built desktop entry and AppStream metadata carry every language's words beside the English.
# metadata_translated.sh DESKTOP_FILE METAINFO_FILE
set -eu
desktop="$1"
metainfo="$2"
status=0
for lang in de fr es it pt_BR nl pl ru; do
    for key in Name GenericName Comment Keywords; do
        grep -q "^$key\[$lang\]=." "$desktop" || { echo "$desktop: no $key[$lang]" >&2; status=1; }
    done
    xml="$(echo "$lang" | tr _ -)"
    for tag in summary p; do
        grep -q "<$tag xml:lang=\"$lang\">\|<$tag xml:lang=\"$xml\">" "$metainfo" ||
            { echo "$metainfo: no $tag in $lang" >&2; status=1; }
    done
done
# English stays as it was.
grep -q '^GenericName=Gem Puzzle$' "$desktop" || { echo "English GenericName changed" >&2; status=1; }
grep -q '^Exec=lumcrest$' "$desktop" || { echo "Exec changed" >&2; status=1; }
grep -q '<summary>Launch bars of gems into the well and set off chains</summary>' "$metainfo" ||
    { echo "English summary changed" >&2; status=1; }
# Each file is still well-formed enough for its readers: one group, one root element.
[ "$(grep -c '^\[' "$desktop")" -eq 1 ] || { echo "desktop entry has more groups" >&2; status=1; }
[ "$(grep -c '</component>' "$metainfo")" -eq 1 ] || { echo "metainfo is broken" >&2; status=1; }
exit "$status"
