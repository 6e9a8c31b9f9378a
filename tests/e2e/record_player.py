#!/usr/bin/env python3
"""Plays the real game's window with xdotool, a launch at a time, choosing each launch by
replaying the recording written so far in the driver and trying every place and rotation of the
bar there: the one that sets off a chain, else the one that scores most. The recording is flushed
as it goes, so the driver always knows the game exactly as it stands.

Usage: record_player.py DRIVER RECORDING WINDOW LAUNCHES MOST
Plays LAUNCHES launches, and goes on up to MOST until a chain has been set off. Prints one line
per launch: the keys pressed and what the driver foresaw."""
import os
import subprocess
import sys
import tempfile
import time
from concurrent.futures import ThreadPoolExecutor

driver, recording, window = sys.argv[1], sys.argv[2], sys.argv[3]
launches, most = int(sys.argv[4]), int(sys.argv[5])
NAMES = {37: "Left", 39: "Right", 40: "Down", 38: "Up"}


def recorded_so_far():
    with open(recording, encoding="utf-8", errors="replace") as f:
        text = f.read()
    # A line still being written is left out; `close` never is there yet.
    return text[: text.rfind("\n") + 1]


def drive(commands):
    with tempfile.TemporaryDirectory() as home:
        run = subprocess.run([driver, "--home", home], input=recorded_so_far() + commands,
                             capture_output=True, text=True, timeout=60)
    return run.stdout.splitlines()


def near_groups(rows):
    """Pairs of one kind side by side, above one another or diagonal: what the next bars and the
    gems rising after an explosion can complete, so a board rich in them makes chains."""
    grid = [[int(v) for v in line.split()] for line in rows]
    count = 0
    for r in range(len(grid)):
        for c in range(10):
            v = grid[r][c]
            if v <= 0:
                continue
            for dr, dc in ((0, 1), (1, 0), (1, 1), (1, -1)):
                rr, cc = r + dr, c + dc
                if 0 <= rr < len(grid) and 0 <= cc < 10 and grid[rr][cc] == v:
                    count += 1
    return count


def foresee(keys):
    """Score gain, explosions and near groups after pressing KEYS now and letting the chain run
    out."""
    lines = drive("get Score\nsounds\n" + "".join(f"key {k}\n" for k in keys) +
                  "wait 3000\nsounds\nget Score\nboard\n")
    scores = [int(l.split("=")[1]) for l in lines if l.startswith("Score=")]
    effects = [l for l in lines if l.startswith("sounds:")]
    last = effects[-1].split()[1:] if effects else []
    explosions = sum(1 for e in last if "explode" in e)
    board = [l for l in lines[-10:] if len(l.split()) == 10]
    gain = (scores[-1] - scores[0]) if len(scores) >= 2 else 0
    return gain, explosions, near_groups(board) if len(board) == 10 else 0


def bar_column():
    for line in drive("get shapeX1\n"):
        if line.startswith("shapeX1="):
            return int(line.split("=")[1]) - 10
    raise SystemExit("the driver did not answer shapeX1")


def candidates(column):
    for turn in range(3):
        for target in range(1, 9):
            shift = target - column
            yield [40] * turn + ([39] * shift if shift > 0 else [37] * -shift) + [38]


chained = False
with ThreadPoolExecutor(max_workers=2) as pool:
    for n in range(most):
        if n >= launches and chained:
            break
        keys_tried = list(candidates(bar_column()))
        results = list(pool.map(foresee, keys_tried))
        # A chain first, then a board rich in near groups (chains to come), then points.
        rank, keys, gain, explosions = max(
            ((r[1] >= 2, r[2] + r[0] // 40, -len(k)), k, r[0], r[1])
            for k, r in zip(keys_tried, results))
        chained = chained or explosions >= 2
        for k in keys:
            subprocess.run(["xdotool", "key", "--window", window, NAMES[k]], check=True)
            time.sleep(0.15)
        print(f"launch {n + 1}: {' '.join(NAMES[k] for k in keys)}: +{gain}, "
              f"{explosions} explosions", flush=True)
        # The flight and any chain run out before the next look.
        time.sleep(3.0)
