#!/bin/sh
# Runs one driver script and compares its answers with the expected ones.
# Directives at the top of a script: "#! seed N" fixes the seed; "#! ini TEXT" adds the line TEXT
# to the settings file before the driver starts.
# With LUMCREST_ANSWERS=web (the browser build's driver) NAME.web.expected, where there is one,
# holds the answers instead, for an answer the browser's build gives differently on purpose (none
# now: it has the desktop's faces for every script, so a name in CJK is as wide as there).
# With UPDATE=1 in the environment the answers become the new expected ones (for a deliberate
# change of what the driver answers; review the difference with git diff before committing it).
set -eu
driver="$1"
script="$2"
expected="${script%.txt}.expected"
if [ -n "${LUMCREST_ANSWERS:-}" ] && [ -f "${script%.txt}.$LUMCREST_ANSWERS.expected" ]; then
    expected="${script%.txt}.$LUMCREST_ANSWERS.expected"
fi
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
seed=1
while IFS= read -r line; do
    case "$line" in
        "#! seed "*) seed="${line#\#! seed }" ;;
        "#! ini "*) printf '%s\n' "${line#\#! ini }" >>"$home/lumcrest.ini" ;;
    esac
done <"$script"
actual="$home/actual.txt"
"$driver" --home "$home" --seed "$seed" <"$script" >"$actual"
if [ "${UPDATE:-}" = 1 ]; then
    if ! cmp -s "$expected" "$actual"; then
        cp "$actual" "$expected"
        echo "rewrote $(basename "$expected")" >&2
    fi
    exit 0
fi
if ! diff -u "$expected" "$actual"; then
    echo "driver script $(basename "$script") gave other answers" >&2
    exit 1
fi
