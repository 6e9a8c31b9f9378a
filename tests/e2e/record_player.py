#!/usr/bin/env python3
"""Plays the real game's window with xdotool, a launch at a time, choosing each launch by
replaying the recording written so far in the driver and trying every place and rotation of the
bar there: the one that sets off a chain, else the one that scores most. The recording is flushed
as it goes, so the driver always knows the game exactly as it stands.

Usage: record_player.py DRIVER RECORDING WINDOW LAUNCHES
Prints one line per launch: the keys pressed and what the driver foresaw."""
import os
import subprocess
import sys
import tempfile
import time

driver, recording, window, launches = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
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


def foresee(keys):
    """Score gain and explosions of pressing KEYS now and letting the chain run out."""
    lines = drive("get Score\nsounds\n" + "".join(f"key {k}\n" for k in keys) +
                  "wait 3000\nsounds\nget Score\n")
    scores = [int(l.split("=")[1]) for l in lines if l.startswith("Score=")]
    effects = [l for l in lines if l.startswith("sounds:")]
    last = effects[-1].split()[1:] if effects else []
    explosions = sum(1 for e in last if "explode" in e)
    return (scores[-1] - scores[0]) if len(scores) >= 2 else 0, explosions


def bar_column():
    for line in drive("get shapeX1\n"):
        if line.startswith("shapeX1="):
            return int(line.split("=")[1]) - 10
    raise SystemExit("the driver did not answer shapeX1")


for n in range(launches):
    column = bar_column()
    best = None
    for turn in range(3):
        for target in range(1, 9):
            shift = target - column
            keys = [40] * turn + ([39] * shift if shift > 0 else [37] * -shift) + [38]
            gain, explosions = foresee(keys)
            rank = (explosions >= 2, gain, -len(keys))
            if best is None or rank > best[0]:
                best = (rank, keys, gain, explosions)
    _, keys, gain, explosions = best
    for k in keys:
        subprocess.run(["xdotool", "key", "--window", window, NAMES[k]], check=True)
        time.sleep(0.15)
    print(f"launch {n + 1}: {' '.join(NAMES[k] for k in keys)}: +{gain}, {explosions} explosions",
          flush=True)
    # The flight and any chain run out before the next look.
    time.sleep(3.2)
