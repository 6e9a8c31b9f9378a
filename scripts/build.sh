#!/bin/sh
# Configures and builds the game, the driver and the tests into build/.
set -eu
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMCREST_WERROR=ON >/dev/null
cmake --build build -j"$(nproc)"
