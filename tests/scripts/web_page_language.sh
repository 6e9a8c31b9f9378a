#!/bin/sh
# The web page that the logo and the close box open is the one in the player's language, the
# language chosen in the settings or by the desktop; English when the game speaks English. An
# install folder whose name has a space or a '#' still gives an address that opens.
set -eu
driver="$1"
data="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "web page language: $*" >&2; exit 1; }

# The address the logo on the menu hands the desktop, with the settings lines $1 and the data
# folder $2.
logo_address() {
    rm -rf "$work/home" && mkdir -p "$work/home"
    printf '[Settings]\nFirst=0\n%s\n' "$1" >"$work/home/lumcrest.ini"
    printf 'start\nclick 700 550\nclick 100 520\nurls\n' |
        "$driver" --home "$work/home" --data "$2" --seed 1 | sed -n 's/^urls: //p'
}

real=$(cd "$data" && pwd -P)
unset LANGUAGE LC_ALL LC_MESSAGES LANG
got=$(logo_address "" "$data")
[ "$got" = "file://$real/lumcrest.html" ] || fail "English: $got"
got=$(logo_address "Language=de" "$data")
[ "$got" = "file://$real/de/lumcrest.html" ] || fail "German in the settings: $got"
got=$(LANGUAGE=pt_BR LANG=pt_BR.UTF-8 logo_address "" "$data")
[ "$got" = "file://$real/pt_BR/lumcrest.html" ] || fail "Portuguese from the desktop: $got"
got=$(LANGUAGE=fr LANG=fr_FR.UTF-8 logo_address "Language=en" "$data")
[ "$got" = "file://$real/lumcrest.html" ] || fail "English in the settings: $got"

# The game installed under a folder with a space and a '#' in its name.
mkdir -p "$work/my games #1"
cp -r "$data" "$work/my games #1/data"
odd=$(cd "$work/my games #1/data" && pwd -P | sed 's/ /%20/g; s/#/%23/g')
got=$(logo_address "Language=es" "$work/my games #1/data")
[ "$got" = "file://$odd/es/lumcrest.html" ] || fail "odd folder: $got"
echo "PASS (web page language)"
