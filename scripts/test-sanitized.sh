#!/bin/sh
# Builds the game with the address and undefined-behaviour sanitizers and runs every test on it.
# The soak plays fewer games here: the sanitizers make each one several times slower.
set -eu
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMCREST_WERROR=ON -DLUMCREST_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$(nproc)"
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0"
export LUMCREST_SOAK_GAMES=20
# The package test builds and installs a plain tree of its own, and the web tests build the web
# version (the sanitizers do not reach into it): they ran in the main suite.
ctest --test-dir build-asan --output-on-failure -j"$(nproc)" -E '^(assets\.|packaging\.deb$|web\.)'
