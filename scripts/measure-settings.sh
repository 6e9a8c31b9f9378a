#!/bin/sh
# Start-up and close of the game (through the headless driver) with settings files of different
# sizes: a usual file of about 1 KB, 50 MB of extra lines (in a section of their own, and inside
# [Settings]), and one line of 10 MB. Prints the best of three wall-clock times of each, and the
# time to read each file's bytes once.
# Usage: scripts/measure-settings.sh [BUILD folder, default build]
set -eu
cd "$(dirname "$0")/.."
build="${1:-build}"
driver="$build/lumcrest-drive"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# A usual file: a name, the table, a saved game.
usual() {
    printf '[Settings]\nFirst=0\nName=Ada\nSound=1\nMusic=0\n'
    for k in 1 2 3 4 5 6 7 8 9 10; do printf '[Scoreline%s]\nName=P%s\nScore=%s\n' "$k" "$k" "$((11000 - 1000 * k))"; done
    printf 'start\nclose\n' | "$driver" --home "$work/seed" --seed 1 >/dev/null
    sed -n '/^\[Gemshape\]/,$p' "$work/seed/lumcrest.ini"
}
mkdir -p "$work/seed" "$work/small" "$work/big" "$work/bigsettings" "$work/line"
printf '[Settings]\nFirst=0\n' >"$work/seed/lumcrest.ini"
usual >"$work/small/lumcrest.ini"
python3 - "$work" <<'PY'
import sys
work = sys.argv[1]
usual = open(f"{work}/small/lumcrest.ini").read()
junk = "".join(f"note{i}=some words the player wrote down, number {i}\n" for i in range(1_000_000))
junk = junk[: 50 * 1024 * 1024]
junk = junk[: junk.rfind("\n") + 1]
open(f"{work}/big/lumcrest.ini", "w").write(usual + "[Notes]\n" + junk)
open(f"{work}/bigsettings/lumcrest.ini", "w").write(usual.replace("[Settings]\n", "[Settings]\n" + junk, 1))
open(f"{work}/line/lumcrest.ini", "w").write(usual + "[Notes]\nline=" + "x" * (10 * 1024 * 1024) + "\n")
PY

# Best of three runs of the driver with the commands in $2 on home $1: "WALL/CPU" in ms (CPU is
# user + system time, which a busy machine disturbs less). The file is put back before each run.
best() {
    cp "$1/lumcrest.ini" "$work/original"
    python3 - "$driver" "$1" "$2" "$work/original" <<'PY'
import os, resource, shutil, subprocess, sys, time
driver, home, commands, original = sys.argv[1:]
best = None
for _ in range(3):
    shutil.copyfile(original, f"{home}/lumcrest.ini")
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.monotonic()
    subprocess.run([driver, "--home", home, "--seed", "1"], input=commands.encode().decode("unicode_escape").encode(),
                   stdout=subprocess.DEVNULL, check=True)
    wall = time.monotonic() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    if best is None or cpu < best[1]:
        best = (wall, cpu)
shutil.copyfile(original, f"{home}/lumcrest.ini")
print(f"{best[0] * 1000:.0f}/{best[1] * 1000:.0f}")
PY
}
read_once() {
    python3 -c 'import sys, time
s = time.monotonic(); open(sys.argv[1], "rb").read(); print(f"{(time.monotonic() - s) * 1000:.0f}")' "$1/lumcrest.ini"
}

printf '%-12s %10s %16s %16s %13s\n' file bytes "start wall/cpu" "+close wall/cpu" "read once ms"
for case in small big bigsettings line; do
    size=$(stat -c %s "$work/$case/lumcrest.ini")
    printf '%-12s %10s %16s %16s %13s\n' "$case" "$size" "$(best "$work/$case" 'start\n')" \
        "$(best "$work/$case" 'start\nclose\n')" "$(read_once "$work/$case")"
done
