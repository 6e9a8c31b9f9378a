#!/bin/sh
# Every C++ file of the tree is laid out as .clang-format says; deliberate tables are fenced with
# "// clang-format off" and "// clang-format on". Mend with: clang-format -i FILE...
# Usage: clang_format_clean.sh SOURCE-DIR
set -eu
cd "$1"
# Git's list only when the folder is a work tree's top: a copy of the sources inside another work
# tree (as the mutation runs make under build-mutants/) has no tracked files of its own.
if [ "$(git rev-parse --show-toplevel 2>/dev/null)" = "$(pwd -P)" ]; then
    files=$(git ls-files '*.cpp' '*.h')
else
    files=$(find . -path ./build\* -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
fi
# shellcheck disable=SC2086
clang-format --dry-run --Werror $files
