#!/usr/bin/env python3
"""Measures the real game under Xvfb and prints the medians of several runs against the goals.

Usage: scripts/measure-performance.py [--runs N] [--game build/lumcrest] [--only play]

Scenarios, each a fresh start of the game with a settings file of its own:
  start     time from exec to the window mapped and to the first presented frame
  menu      CPU while idle at the menu with the music on
  quiet     CPU while idle at the menu with music and sound off
  waiting   CPU while a bar waits in play (the idle sparkle and blink run)
  chain     CPU during a chain, and the real periods of the 20 ms and 1 ms timers
  play      CPU while playing: 16 bars shifted and launched over 20 s, with the landings,
            chains and effects they bring; then the same play again under strace, counting the
            files the game opens while it plays (none is the goal)
Peak memory is the largest VmHWM seen. Timer periods come from the game's tick log.
"""
import argparse
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

GOALS = {
    "mapped_ms": 50.0,
    "menu_cpu": 1.0,
    "quiet_cpu": 0.1,
    "peak_mib": 37.0,
    "play_opens": 0,
}

# A game in progress at stage 1: a few gems on the board, the bar and the preview known.
PLAY_GAME = """[Settings]
First=0
Sound=1
Music=1
[Gemshape]
Shape1=1
Shape2=2
Shape3=3
[Nextgemshape]
Nextshape1=4
Nextshape2=5
Nextshape3=6
[Gembox]
Gem10=2
Gem9=3
Gem20=4
Gem40=1
Gem50=5
Gem60=6
Gem70=2
Gem80=3
Gem100=4
Gem99=5
"""
# Where each bar goes before its launch (its left gem's column; a bar waits in columns 4..6):
# every column gets its share, so the well does not fill up before the play ends.
PLAY_COLUMNS = [1, 4, 8, 2, 6, 3, 7, 5] * 2
PLAY_BAR_SECONDS = 1.25


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def peak_mib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1]) / 1024.0
    return 0.0


class Game:
    def __init__(self, game, display, settings_text):
        self.dir = tempfile.mkdtemp(prefix="lumcrest-perf-")
        os.makedirs(os.path.join(self.dir, "lumcrest"))
        if settings_text:
            with open(os.path.join(self.dir, "lumcrest", "lumcrest.ini"), "w") as f:
                f.write(settings_text)
        self.log = os.path.join(self.dir, "ticks.log")
        env = dict(os.environ, DISPLAY=display, SDL_VIDEODRIVER="x11", SDL_AUDIODRIVER="dummy",
                   XDG_CONFIG_HOME=self.dir, HOME=self.dir, LUMCREST_TICK_LOG=self.log,
                   PATH=self.dir + ":" + os.environ.get("PATH", ""))
        # The web page opened at the close goes nowhere.
        opener = os.path.join(self.dir, "xdg-open")
        with open(opener, "w") as f:
            f.write("#!/bin/sh\nexit 0\n")
        os.chmod(opener, 0o755)
        self.started_us = time.time() * 1e6
        self.proc = subprocess.Popen([game], env=env, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        self.env = env
        self.final_log = []

    def wait_presented(self, timeout=10.0):
        end = time.time() + timeout
        while time.time() < end:
            marks = self.marks()
            if "presented" in marks and "mapped" in marks:
                return marks
            time.sleep(0.005)
        raise RuntimeError("the game window did not appear")

    def marks(self):
        out = {}
        try:
            with open(self.log) as f:
                for line in f:
                    name, _, value = line.strip().partition(" ")
                    if name in ("mapped", "presented") and name not in out and value.isdigit():
                        out[name] = int(value)
        except FileNotFoundError:
            pass
        return out

    def ticks(self, name):
        """Tick times of timer NAME; complete only after stop(), when the game has closed its log."""
        times = []
        for line in self.final_log:
            n, _, v = line.strip().partition(" ")
            if n == name and v.isdigit():
                times.append(int(v))
        return times

    def key(self, *keys):
        wid = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(self.proc.pid)],
                             env=self.env, capture_output=True, text=True).stdout.split()
        if wid:
            subprocess.run(["xdotool", "windowfocus", "--sync", wid[0]], env=self.env)
        subprocess.run(["xdotool", "key", *keys], env=self.env)

    def play(self):
        """Shifts and launches a bar to each column of PLAY_COLUMNS in turn."""
        for column in PLAY_COLUMNS:
            t = time.time()
            moves = ["Left"] * (4 - column) if column < 4 else ["Right"] * (column - 4)
            self.key(*moves, "Up")
            time.sleep(max(0.0, PLAY_BAR_SECONDS - (time.time() - t)))

    def cpu_percent(self, seconds):
        c0, t0 = cpu_seconds(self.proc.pid), time.time()
        time.sleep(seconds)
        c1, t1 = cpu_seconds(self.proc.pid), time.time()
        return 100.0 * (c1 - c0) / (t1 - t0)

    def stop(self):
        peak = peak_mib(self.proc.pid)
        self.proc.send_signal(signal.SIGTERM)
        try:
            self.proc.wait(10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
        try:
            with open(self.log) as f:
                self.final_log = f.readlines()
        except FileNotFoundError:
            self.final_log = []
        shutil.rmtree(self.dir, ignore_errors=True)
        return peak


def play_cpu(game, display):
    """CPU over the whole play, and the peak memory."""
    g = Game(game, display, PLAY_GAME)
    g.wait_presented()
    time.sleep(2.0)
    c0, t0 = cpu_seconds(g.proc.pid), time.time()
    g.play()
    time.sleep(1.0)
    c1, t1 = cpu_seconds(g.proc.pid), time.time()
    return 100.0 * (c1 - c0) / (t1 - t0), g.stop()


def play_opens(game, display):
    """The files the game opens while it plays (strace attached to every thread during play)."""
    if not shutil.which("strace"):
        return None, []
    g = Game(game, display, PLAY_GAME)
    g.wait_presented()
    time.sleep(2.0)
    out = os.path.join(g.dir, "opens.txt")
    tracer = subprocess.Popen(["strace", "-f", "-qq", "-e", "trace=openat,open", "-o", out,
                               "-p", str(g.proc.pid)], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    time.sleep(1.0)
    g.play()
    time.sleep(1.0)
    tracer.send_signal(signal.SIGINT)
    tracer.wait(10)
    files = []
    with open(out) as f:
        for line in f:
            if "open" in line and '"' in line and "resumed>" not in line:
                files.append(line.split('"')[1])
    g.stop()
    return len(files), sorted(set(files))


def periods_ms(times_us, nominal_ms):
    """Gaps between consecutive ticks of one run of a timer (longer pauses start a new run)."""
    gaps = [(b - a) / 1000.0 for a, b in zip(times_us, times_us[1:])]
    return [g for g in gaps if g < nominal_ms * 5]


def percentile(values, p):
    if not values:
        return float("nan")
    values = sorted(values)
    k = min(len(values) - 1, max(0, int(round(p / 100.0 * (len(values) - 1)))))
    return values[k]


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--game", default=os.path.join(os.path.dirname(__file__), "..", "build",
                                                   "lumcrest"))
    ap.add_argument("--display", default=":97")
    ap.add_argument("--only", choices=["play"], help="run only this scenario")
    args = ap.parse_args()
    game = os.path.abspath(args.game)

    xvfb = subprocess.Popen(["Xvfb", args.display, "-screen", "0", "1024x768x24", "-noreset",
                             "-nolisten", "tcp"], stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    time.sleep(1.0)
    results = {k: [] for k in ("mapped_ms", "presented_ms", "menu_cpu", "quiet_cpu",
                               "waiting_cpu", "chain_cpu", "peak_mib", "play_cpu",
                               "play_opens")}
    timer1, fill = [], []
    opened = set()
    try:
        for run in range(args.runs):
            cpu, peak = play_cpu(game, args.display)
            results["play_cpu"].append(cpu)
            results["peak_mib"].append(peak)
            count, files = play_opens(game, args.display)
            if count is not None:
                results["play_opens"].append(count)
                opened.update(files)
            if args.only == "play":
                print(f"run {run + 1} of {args.runs} done", file=sys.stderr)
                continue

            g = Game(game, args.display, "")
            marks = g.wait_presented()
            results["mapped_ms"].append((marks["mapped"] - g.started_us) / 1000.0)
            results["presented_ms"].append((marks["presented"] - g.started_us) / 1000.0)
            time.sleep(5.0)
            results["menu_cpu"].append(g.cpu_percent(20.0))
            results["peak_mib"].append(g.stop())

            g = Game(game, args.display, "[Settings]\nMusic=0\nSound=0\n")
            g.wait_presented()
            # Past the first sparkles, whose pictures are decoded when first drawn.
            time.sleep(10.0)
            results["quiet_cpu"].append(g.cpu_percent(30.0))
            results["peak_mib"].append(g.stop())

            g = Game(game, args.display, "[Settings]\nFirst=0\n")
            g.wait_presented()
            time.sleep(2.0)
            results["waiting_cpu"].append(g.cpu_percent(10.0))
            # Launches into the empty well: the 20 ms timer carries each bar up.
            for column_keys in (["Left"], ["Right", "Right"], ["Left", "Left", "Left", "Left"],
                                ["Right"] * 6, []):
                g.key(*column_keys, "Up")
                time.sleep(0.6)
            results["peak_mib"].append(g.stop())
            timer1 += periods_ms(g.ticks("Timer1"), 20)

            g = Game(game, args.display, CHAIN_GAME)
            g.wait_presented()
            time.sleep(1.0)
            g.key("Up")
            results["chain_cpu"].append(g.cpu_percent(2.5))
            time.sleep(1.0)
            results["peak_mib"].append(g.stop())
            timer1 += periods_ms(g.ticks("Timer1"), 20)
            fill += periods_ms(g.ticks("filltimer"), 1)
            print(f"run {run + 1} of {args.runs} done", file=sys.stderr)
    finally:
        xvfb.terminate()
        xvfb.wait()

    med = {k: statistics.median(v) for k, v in results.items() if v}
    med["peak_mib"] = max(results["peak_mib"])
    late = [p - 20.0 for p in timer1]
    play_rows = [
        ("playing (16 bars in 20 s)", f"{med['play_cpu']:.2f} % of a core", "", None),
        ("files opened during play",
         f"{med['play_opens']:.0f}" if "play_opens" in med else "(no strace)", "0",
         med["play_opens"] <= GOALS["play_opens"] if "play_opens" in med else None),
        ("peak memory (largest VmHWM)", f"{med['peak_mib']:.1f} MiB", "≤ 37 MiB",
         med["peak_mib"] <= GOALS["peak_mib"]),
    ]
    if args.only == "play":
        rows = play_rows
    else:
        rows = play_rows[:2] + [
            ("start to window mapped", f"{med['mapped_ms']:.1f} ms", "≤ 50 ms",
             med["mapped_ms"] <= GOALS["mapped_ms"]),
            ("start to first presented frame", f"{med['presented_ms']:.1f} ms", "", None),
            ("idle at the menu, music on", f"{med['menu_cpu']:.2f} % of a core", "≤ 1.0 %",
             med["menu_cpu"] <= GOALS["menu_cpu"]),
            ("idle at the menu, music and sound off", f"{med['quiet_cpu']:.3f} % of a core", "≤ 0.1 %",
             med["quiet_cpu"] <= GOALS["quiet_cpu"]),
            ("a bar waiting in play", f"{med['waiting_cpu']:.2f} % of a core", "", None),
            ("during a chain", f"{med['chain_cpu']:.2f} % of a core", "", None),
            ("peak memory (largest VmHWM)", f"{med['peak_mib']:.1f} MiB", "≤ 37 MiB",
             med["peak_mib"] <= GOALS["peak_mib"]),
            ("Timer1 period, median", f"{percentile(timer1, 50):.2f} ms ({len(timer1)} periods)",
             "20 ± 0.5 ms", abs(percentile(timer1, 50) - 20.0) <= 0.5),
            ("Timer1 lateness, 99th percentile", f"{percentile(late, 99):.2f} ms", "< 2 ms",
             percentile(late, 99) < 2.0),
            ("filltimer period, median / 99th percentile",
             f"{percentile(fill, 50):.2f} / {percentile(fill, 99):.2f} ms ({len(fill)} periods)", "",
             None),
        ]
    print(f"Medians of {args.runs} runs under Xvfb.\n")
    print("| measure | figure | goal | met |")
    print("|---|---|---|---|")
    for name, figure, goal, met in rows:
        print(f"| {name} | {figure} | {goal} | {'' if met is None else ('yes' if met else 'NO')} |")
    if opened:
        print("\nFiles opened during play: " + ", ".join(os.path.basename(f) for f in sorted(opened)))


if __name__ == "__main__":
    main()
