#!/bin/bash
# Mutation run: how many small, plausible faults do the everyday tests catch?
#
# Usage: scripts/mutate.sh [NUMBER...]
#   Applies each mutant of tests/mutants/mutants.txt (or only the numbered ones) to a copy of the
#   source tree, rebuilds, runs `ctest -LE slow`, and counts the mutant killed when a test fails.
#   Prints the score over the non-equivalent mutants and lists the survivors.
#
# The copy and its build live in build-mutants/ (MUTATE_DIR overrides), so the normal build is
# left alone; the first run builds everything once, later runs rebuild only what a mutant touches.
# Not part of CI: a full run takes a while (one rebuild and one test run per mutant).
# MUTATE_TESTS=REGEX narrows the tests to those ctest -R REGEX picks among the everyday ones
# (a quicker, less sharp run: a survivor there may still be caught by the others).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
work=${MUTATE_DIR:-$repo/build-mutants}
list=$repo/tests/mutants/mutants.txt
jobs=${MUTATE_JOBS:-2}
narrow=()
[ -n "${MUTATE_TESTS:-}" ] && narrow=(-R "$MUTATE_TESTS")
src=$work/src
build=$work/build
mkdir -p "$src" "$work/log"

# A fresh copy of the tracked and new files. Unchanged files keep their times, so the build in the
# copy only redoes what changed since the last run; a file a broken-off run left mutated is
# touched, so that it is compiled again from its true text.
(cd "$repo" && git ls-files -z -co --exclude-standard) |
    (cd "$repo" && tar --null -T - -cf -) | tar -xf - -C "$src" --overwrite
if [ -s "$work/applied" ]; then
    touch "$src/$(cat "$work/applied")"
    rm -f "$work/applied"
fi

if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$work/log/configure.txt"
fi
run_tests() {
    ctest --test-dir "$build" -LE slow "${narrow[@]}" -j"$jobs" --timeout 120 --stop-on-failure --output-on-failure \
        >"$1" 2>&1
}
echo "building the unmutated copy in $build"
cmake --build "$build" -j"$jobs" >"$work/log/build.txt" 2>&1 || {
    echo "the unmutated copy does not build: see $work/log/build.txt" >&2
    exit 2
}
run_tests "$work/log/baseline.txt" || {
    echo "the tests fail without any mutant: see $work/log/baseline.txt" >&2
    exit 2
}

# Splits the list into one file per mutant: FILE, OLD text, NEW text, and the equivalence note.
python3 - "$list" "$work/mutants" <<'EOF'
import os, shutil, sys
lines = open(sys.argv[1], encoding="utf-8").read().split("\n")
out = sys.argv[2]
shutil.rmtree(out, ignore_errors=True)
os.makedirs(out)
blocks, cur = [], []
for line in lines + [""]:
    if line.startswith("#"):
        continue
    if line.strip() == "":
        if cur:
            blocks.append(cur)
        cur = []
    else:
        cur.append(line)
for n, b in enumerate(blocks, 1):
    path = b[0].strip()
    old = "\n".join(l[2:] for l in b[1:] if l.startswith("- "))
    new = "\n".join(l[2:] for l in b[1:] if l.startswith("+ "))
    note = " ".join(l[2:] for l in b[1:] if l.startswith("= "))
    d = os.path.join(out, "%03d" % n)
    os.makedirs(d)
    for name, text in (("file", path), ("old", old), ("new", new), ("equivalent", note)):
        with open(os.path.join(d, name), "w", encoding="utf-8") as f:
            f.write(text)
EOF

# Replaces the one occurrence of OLD by NEW in FILE; fails when OLD is missing or not unique.
apply_mutant() {
    python3 - "$1" "$2" "$3" <<'EOF'
import sys
path, old, new = sys.argv[1], open(sys.argv[2]).read(), open(sys.argv[3]).read()
text = open(path, encoding="utf-8").read()
if not old or text.count(old) != 1:
    sys.exit(1)
open(path, "w", encoding="utf-8").write(text.replace(old, new, 1))
EOF
}

selected=("$@")
killed=0 survived=0 equivalent=0 stale=0 stillborn=0
survivors=()
for dir in "$work"/mutants/*; do
    n=$((10#$(basename "$dir")))
    if [ ${#selected[@]} -gt 0 ] && ! printf '%s\n' "${selected[@]}" | grep -qx "$n"; then
        continue
    fi
    file=$(cat "$dir/file")
    target=$src/$file
    label="#$n $file: $(head -1 "$dir/new" | sed 's/^ *//')"
    cp "$target" "$work/pristine"
    printf '%s' "$file" >"$work/applied"
    if ! apply_mutant "$target" "$dir/old" "$dir/new"; then
        echo "stale      $label (its text is no longer in the file once)"
        stale=$((stale + 1))
        continue
    fi
    log=$work/log/mutant-$n.txt
    if ! cmake --build "$build" -j"$jobs" >"$log" 2>&1; then
        verdict=stillborn
        stillborn=$((stillborn + 1))
    elif run_tests "$log"; then
        if [ -s "$dir/equivalent" ]; then
            verdict=equivalent
            equivalent=$((equivalent + 1))
        else
            verdict=SURVIVED
            survived=$((survived + 1))
            survivors+=("$label")
        fi
    else
        verdict=killed
        killed=$((killed + 1))
        [ -s "$dir/equivalent" ] && verdict="killed (listed as equivalent: check the note)"
    fi
    echo "$verdict $label"
    # Back to the original text with a new time, so the next build compiles it again.
    cat "$work/pristine" >"$target"
    touch "$target"
    rm -f "$work/applied"
done
# Leaves the copy's build matching the sources.
cmake --build "$build" -j"$jobs" >"$work/log/build.txt" 2>&1 || true

scored=$((killed + survived))
echo
echo "killed $killed of $scored non-equivalent mutants" \
    "($([ $scored -gt 0 ] && echo $((100 * killed / scored)) || echo 0) %);" \
    "$equivalent equivalent, $stillborn did not build, $stale stale"
if [ ${#survivors[@]} -gt 0 ]; then
    echo "survivors:"
    printf '  %s\n' "${survivors[@]}"
fi
