#!/bin/sh
# Installs what is missing, builds, and runs every test: the suite, the same suite under the
# address and undefined-behaviour sanitizers, and bounded fuzzing.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
ctest --test-dir build --output-on-failure -j"$(nproc)"
scripts/test-sanitized.sh
scripts/fuzz.sh 60
