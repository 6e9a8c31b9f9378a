#!/bin/sh
# Builds the libFuzzer targets with clang and runs each for a bounded time from the committed
# corpus. Usage: scripts/fuzz.sh [SECONDS per target, default 60]
set -eu
cd "$(dirname "$0")/.."
seconds="${1:-60}"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMCREST_WERROR=ON \
    -DLUMCREST_FUZZ=ON -DLUMCREST_TESTS=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target ini_fuzz startup_fuzz rules_fuzz catalogue_fuzz
export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizer/lsan.supp"
# Undefined behaviour is a finding like a crash: without halt_on_error the fuzzer prints it and runs
# straight past it.
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# Whatever a target makes in the temporary folder goes with the work folder.
export TMPDIR="$work"
targets="ini startup rules catalogue"
for target in $targets; do
    mkdir -p "$work/$target"
    # Absolute paths: the start-up target works in the game's data folder.
    (cd "$work" && "$OLDPWD/build-fuzz/tests/fuzz/${target}_fuzz" -max_total_time="$seconds" \
        -rss_limit_mb=4096 -print_final_stats=1 "$work/$target" \
        "$OLDPWD/tests/fuzz/corpus/$target") 2>"$work/$target.log" || {
        tail -60 "$work/$target.log" >&2
        echo "fuzzing $target found a fault" >&2
        exit 1
    }
    grep -E '^(Done|stat::number_of_executed_units)' "$work/$target.log" || true
done
echo "fuzzing: $(echo $targets | wc -w) passed, 0 failed"
