#!/bin/sh
# No function of the game is longer than 80 lines: a longer one is split into named steps or
# reads a table. The forge (which writes music and pictures out as long recipes) and the tests
# are left out. Lambdas count as part of the function that holds them.
# Usage: function_length.sh SOURCE-DIR
set -eu
cd "$1"
limit=80
# Debian names Universal Ctags ctags-universal; ctags may be another program.
ctags=$(command -v ctags-universal || command -v ctags)
# Git's list only when the folder is a work tree's top: a copy of the sources inside another work
# tree (as the mutation runs make under build-mutants/) has no tracked files of its own.
if [ "$(git rev-parse --show-toplevel 2>/dev/null)" = "$(pwd -P)" ]; then
    files=$(git ls-files '*.cpp' '*.h' | grep -v -e '^tests/' -e '^assets/forge/')
else
    files=$(find app game view ui store audio toolkit tools assets -name '*.cpp' -o -name '*.h' |
        grep -v -e '^assets/forge/')
fi
# shellcheck disable=SC2086
long=$("$ctags" -x --c++-kinds=f --fields=+ne --_xformat='%n|%e|%F|%N' -o - $files |
    awk -F'|' -v limit=$limit '$4 !~ /^__anon/ && $2 - $1 + 1 > limit {
        printf "%s:%s: %s is %d lines\n", $3, $1, $4, $2 - $1 + 1 }')
if [ -n "$long" ]; then
    echo "$long"
    echo "functions longer than $limit lines" >&2
    exit 1
fi
