#!/bin/sh
# Every language's catalogue is whole: msgfmt finds no fault, no fuzzy and no untranslated entry,
# and every text the code marks for translation, the desktop entry and the AppStream metadata
# (collected afresh with xgettext) is in it.
# catalogues_complete.sh SOURCE_DIR
set -eu
src="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
find "$src/app" "$src/ui" "$src/view" "$src/game" "$src/store" "$src/audio" "$src/toolkit" \
    "$src/assets/forge" -name '*.cpp' | sort >"$work/files"
xgettext --from-code=UTF-8 --keyword=tr --keyword=N_ --keyword=_ -f "$work/files" \
    -o "$work/lumcrest.pot"
xgettext -j -o "$work/lumcrest.pot" "$src/packaging/lumcrest.desktop" \
    "$src/packaging/io.github.lumcrest.Lumcrest.metainfo.xml"
status=0
count=0
for po in "$src"/po/*.po; do
    lang="$(basename "$po" .po)"
    count=$((count + 1))
    if ! msgfmt --check --statistics -o /dev/null "$po" 2>"$work/stats"; then
        echo "$lang: msgfmt --check fails:" >&2
        cat "$work/stats" >&2
        status=1
        continue
    fi
    if grep -q -e fuzzy -e untranslated "$work/stats"; then
        echo "$lang: not whole: $(cat "$work/stats")" >&2
        status=1
    fi
    if ! msgcmp "$po" "$work/lumcrest.pot" 2>"$work/cmp"; then
        echo "$lang: texts of the code missing from the catalogue:" >&2
        cat "$work/cmp" >&2
        status=1
    fi
done
if [ "$count" -lt 8 ]; then
    echo "only $count catalogues in po/" >&2
    status=1
fi
[ "$status" -eq 0 ] && echo "$count catalogues whole"
exit "$status"
