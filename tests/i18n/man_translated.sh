#!/bin/sh
# The man page in every language: each po/man catalogue is whole, and each page the build made
# renders without a troff warning, has every section of the English page under its own heading,
# a NAME line that whatis can read, the version, and the option and variable names untouched.
# man_translated.sh SOURCE_DIR MAN_DIR VERSION
set -u
src="$1" mandir="$2" version="$3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
status=0
bad() { echo "$1: $2" >&2; status=1; }

english="$src/packaging/lumcrest.6"
sections=$(grep -c '^\.SH ' "$english")
subsections=$(grep -c '^\.SS ' "$english")
english_name=$(sed -n '/^\.SH NAME/{n;p;}' "$english")
count=0
for po in "$src"/po/man/*.po; do
    lang="$(basename "$po" .po)"
    count=$((count + 1))
    if ! msgfmt --check --statistics -o /dev/null "$po" 2>"$work/stats"; then
        bad "$lang" "msgfmt --check fails: $(cat "$work/stats")"
    elif grep -q -e fuzzy -e untranslated "$work/stats"; then
        bad "$lang" "not whole: $(cat "$work/stats")"
    fi

    page="$mandir/$lang/lumcrest.6"
    if [ ! -s "$page" ]; then
        bad "$lang" "no man page $page"
        continue
    fi
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >"$work/text")
    [ -z "$warnings" ] || bad "$lang" "man page warnings: $warnings"
    [ "$(grep -c '^\.SH ' "$page")" -eq "$sections" ] || bad "$lang" "sections lost or added"
    [ "$(grep -c '^\.SS ' "$page")" -eq "$subsections" ] || bad "$lang" "subsections lost or added"
    grep -q "^\.TH .*lumcrest $version" "$page" || bad "$lang" "the page does not carry the version"
    name=$(sed -n '/^\.SH /{n;p;q;}' "$page")
    case "$name" in
        'lumcrest \- '*) ;;
        *) bad "$lang" "the NAME line is not 'lumcrest \\- ...': $name" ;;
    esac
    [ "$name" != "$english_name" ] || bad "$lang" "the NAME line is still English"
    lexgrog "$page" >/dev/null 2>&1 || bad "$lang" "whatis cannot read the NAME section"
    for word in '\-\-record' '\-\-seed' '\-\-help' '\-\-version' '\-h' '\-V' lumcrest.ini \
        XDG_CONFIG_HOME SDL_VIDEODRIVER SDL_AUDIODRIVER 'lumcrest\-drive \-\-home'; do
        grep -qF -- "$word" "$page" || bad "$lang" "the page lost $word"
    done
    for word in XDG_CONFIG_HOME SDL_VIDEODRIVER SDL_AUDIODRIVER 4294967295; do
        grep -qF -- "$word" "$work/text" || bad "$lang" "the rendered page lacks $word"
    done
done
[ "$count" -ge 8 ] || bad "po/man" "only $count man page catalogues"
[ "$status" -eq 0 ] && echo "$count translated man pages whole and clean"
exit "$status"
