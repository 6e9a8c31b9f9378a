#!/bin/sh
# The rules in game/ need nothing but the C++ standard library: every source compiles from a copy
# of game/ alone, and no include names a header of a library or of another folder.
# Usage: game_stands_alone.sh C++-COMPILER SOURCE-DIR
set -eu
cxx="$1"
src="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/game"
cp "$src"/game/*.h "$src"/game/*.cpp "$work/game/"
status=0
# Quoted includes name a file of game/ ("game/x.h"); bracketed ones a standard header (no folder,
# no ".h").
if grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*("([^g"]|g[^a]|ga[^m]|gam[^e]|game[^/]|game/[^"]*/)|<[^>]*(/|\.h>))' \
        "$src"/game/*.h "$src"/game/*.cpp; then
    echo "game/ includes a header from outside the standard library or game/" >&2
    status=1
fi
for f in "$work"/game/*.cpp; do
    if ! "$cxx" -std=c++20 -Wall -Wextra -fsyntax-only -I"$work" "$f"; then
        echo "$(basename "$f") does not compile from game/ alone" >&2
        status=1
    fi
done
exit $status
