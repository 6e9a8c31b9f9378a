#!/bin/sh
# Every C++ file of the tree is laid out as .clang-format says; deliberate tables are fenced with
# "// clang-format off" and "// clang-format on". Mend with: clang-format -i FILE...
# Usage: clang_format_clean.sh SOURCE-DIR
set -eu
cd "$1"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    files=$(git ls-files '*.cpp' '*.h')
else
    files=$(find . -path ./build\* -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
fi
# shellcheck disable=SC2086
clang-format --dry-run --Werror $files
