#!/bin/sh
# Installs what is missing, builds, and runs every test: the suite, the same suite under the
# address and undefined-behaviour sanitizers, and bounded fuzzing. Each phase runs whatever the
# one before it gave; the end says, one line each, which passed and which failed, and the status
# is non-zero when any failed.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh

results=""
failed=0
phase() {
    name="$1"
    shift
    echo "== $name: $*"
    start=$(date +%s)
    if "$@"; then
        outcome="passed"
    else
        outcome="failed"
        failed=1
    fi
    results="$results$(printf '%-11s %s (%s min)' "$name:" "$outcome" "$((($(date +%s) - start + 30) / 60))")
"
}
phase suite ctest --test-dir build --output-on-failure -j"$(nproc)"
phase sanitizers scripts/test-sanitized.sh
phase fuzzing scripts/fuzz.sh 60
echo
printf '%s' "$results"
exit "$failed"
