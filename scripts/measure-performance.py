#!/usr/bin/env python3
"""Measures the real game under Xvfb and prints the medians of several runs against the goals.

Usage: scripts/measure-performance.py [--runs N] [--game build/lumcrest] [--only game|frames]

Scenarios, each a fresh start of the game with a settings file of its own:
  start     time from exec to the window mapped and to the first presented frame
  menu      CPU while idle at the menu with the music on
  quiet     CPU while idle at the menu with music and sound off
  waiting   CPU while a bar waits in play (the idle sparkle and blink run)
  chain     CPU during a chain, and the real periods of the 20 ms and 1 ms timers
  play      CPU over ten launches into the empty well
  game      CPU while playing a game: 16 bars shifted and launched over 20 s, with the landings,
            chains and effects they bring; then the same play again under strace, counting the
            files the game opens while it plays (none is the goal)
  scale 2   the menu and play again on a 2560 x 1440 screen, where the window is shown at scale 2
  stage     a saved game one group short of its stage's end: one launch, the jar, the next stage
  help      the help page, opened from the menu by the keyboard
  wayland   CPU while idle at the menu on a headless sway compositor (when sway is installed),
            beside the same figure on X11
Peak memory is the largest VmHWM of each scenario, and of them all at scale 1. Timer periods come from the game's tick log.
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

from proc_figures import cpu_seconds, peak_mib

GOALS = {
    "mapped_ms": 50.0,
    "presented_ms": 60.0,
    "menu_cpu": 0.38,
    "quiet_cpu": 0.1,
    "peak_mib": 33.0,
    "game_opens": 0,
    "frame_ms": 4.0,
}

# The head of the saved games below: switches on, the bar 1 2 3 waiting, 4 5 6 in the preview;
# each adds its board's gems after it.
SAVED_GAME_HEAD = """[Settings]
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
"""

# A saved game whose launch lands a column of three, and whose fall forms a second group.
CHAIN_GAME = SAVED_GAME_HEAD + """Gem40=1
Gem39=1
Gem50=2
Gem49=2
Gem60=3
Gem59=3
Gem38=4
Gem48=5
"""

# A game in progress at stage 1: a few gems on the board, the bar and the preview known.
GAME_IN_PROGRESS = SAVED_GAME_HEAD + """Gem10=2
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
# A saved game one group short of its stage's end: the first launch ends the stage, the jar
# drains and the next stage's background comes.
STAGE_END_GAME = """[Settings]
First=0
Name=Tess
Sound=1
Music=1
[Gemshape]
Shape1=2
Shape2=2
Shape3=2
[Nextgemshape]
Nextshape1=1
Nextshape2=3
Nextshape3=4
[Techinfo]
Stage=1
Gemsleft=3
Score=100
Blocks=6
Background=1
Total=300
[Gembox]
Gem12=5
Gem22=6
Gem73=1
"""
# The scenarios whose peak memory is told apart, with their names in the table.
PEAK_SCENARIOS = [
    ("the start screen (music on, and all off)", "menu_peak_mib"),
    ("ten launches", "play_peak_mib"),
    ("a chain", "chain_peak_mib"),
    ("a stage's end, the jar and the next stage", "stage_peak_mib"),
    ("the help page", "help_peak_mib"),
    ("playing a game (16 bars)", "game_peak_mib"),
    ("scale 2, the start screen and ten launches (2560 x 1440 screen)", "peak2_mib"),
]

# The menu's help button is the fifth the keyboard's highlight visits.
HELP_KEYS = ["Down"] * 5 + ["Return"]

# Where each bar goes before its launch (its left gem's column; a bar waits in columns 4..6):
# every column gets its share, so the well does not fill up before the play ends.
GAME_COLUMNS = [1, 4, 8, 2, 6, 3, 7, 5] * 2
GAME_BAR_SECONDS = 1.25


class Game:
    def __init__(self, game, display, settings_text, wayland=None):
        self.dir = tempfile.mkdtemp(prefix="lumcrest-perf-")
        os.makedirs(os.path.join(self.dir, "lumcrest"))
        if settings_text:
            with open(os.path.join(self.dir, "lumcrest", "lumcrest.ini"), "w") as f:
                f.write(settings_text)
        self.log = os.path.join(self.dir, "ticks.log")
        env = dict(os.environ, DISPLAY=display, SDL_VIDEODRIVER="x11", SDL_AUDIODRIVER="dummy",
                   XDG_CONFIG_HOME=self.dir, HOME=self.dir, LUMCREST_TICK_LOG=self.log,
                   PATH=self.dir + ":" + os.environ.get("PATH", ""))
        command = [game]
        if wayland:
            # The compositor's session: its own runtime folder, as its user.
            env.pop("DISPLAY", None)
            env.update(SDL_VIDEODRIVER="wayland", WAYLAND_DISPLAY=wayland.socket,
                       XDG_RUNTIME_DIR=wayland.run)
            command = wayland.as_user + [game]
            os.chmod(self.dir, 0o777)
            os.chmod(os.path.join(self.dir, "lumcrest"), 0o777)
        # The web page opened at the close goes nowhere.
        opener = os.path.join(self.dir, "xdg-open")
        with open(opener, "w") as f:
            f.write("#!/bin/sh\nexit 0\n")
        os.chmod(opener, 0o755)
        self.started_us = time.time() * 1e6
        self.proc = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
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


class Sway:
    """A headless sway compositor; as root it runs, with the game, as user nobody."""

    def __init__(self):
        self.dir = tempfile.mkdtemp(prefix="lumcrest-sway-")
        os.chmod(self.dir, 0o755)
        self.run = os.path.join(self.dir, "run")
        os.makedirs(self.run, mode=0o700)
        conf = os.path.join(self.dir, "sway.conf")
        with open(conf, "w") as f:
            f.write("output HEADLESS-1 resolution 1280x1024\n"
                    "for_window [app_id=\"lumcrest\"] floating enable\n")
        os.chmod(conf, 0o644)
        self.as_user = []
        if os.getuid() == 0:
            os.chown(self.run, 65534, 65534)
            self.as_user = ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"]
        env = dict(os.environ, XDG_RUNTIME_DIR=self.run, WLR_BACKENDS="headless",
                   WLR_LIBINPUT_NO_DEVICES="1", WLR_RENDERER="pixman", HOME=self.dir)
        env.pop("DISPLAY", None)
        self.proc = subprocess.Popen(self.as_user + ["sway", "-c", conf], env=env,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.socket = None
        for _ in range(100):
            found = [n for n in os.listdir(self.run) if n.startswith("wayland-") and
                     not n.endswith(".lock")]
            if found:
                self.socket = found[0]
                break
            time.sleep(0.1)
        if not self.socket:
            self.stop()
            raise RuntimeError("sway did not start")

    def stop(self):
        self.proc.terminate()
        try:
            self.proc.wait(10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
        shutil.rmtree(self.dir, ignore_errors=True)


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


def play(g):
    """CPU over launches into the empty well: the 20 ms timer carries each bar up."""
    c0, t0 = cpu_seconds(g.proc.pid), time.time()
    # Ten launches, six seconds: the kernel counts CPU time in 10 ms ticks.
    for column_keys in (["Left"], ["Right", "Right"], ["Left", "Left", "Left", "Left"],
                        ["Right"] * 6, []) * 2:
        g.key(*column_keys, "Up")
        time.sleep(0.6)
    c1, t1 = cpu_seconds(g.proc.pid), time.time()
    return 100.0 * (c1 - c0) / (t1 - t0)


def play_game(g):
    """Shifts and launches a bar to each column of GAME_COLUMNS in turn."""
    for column in GAME_COLUMNS:
        t = time.time()
        moves = ["Left"] * (4 - column) if column < 4 else ["Right"] * (column - 4)
        g.key(*moves, "Up")
        time.sleep(max(0.0, GAME_BAR_SECONDS - (time.time() - t)))


def game_cpu(game, display):
    """CPU over a whole game's play, and the peak memory."""
    g = Game(game, display, GAME_IN_PROGRESS)
    g.wait_presented()
    time.sleep(2.0)
    c0, t0 = cpu_seconds(g.proc.pid), time.time()
    play_game(g)
    time.sleep(1.0)
    c1, t1 = cpu_seconds(g.proc.pid), time.time()
    return 100.0 * (c1 - c0) / (t1 - t0), g.stop()


def game_opens(game, display):
    """The files the game opens while it plays (strace attached to every thread meanwhile)."""
    if not shutil.which("strace"):
        return None, []
    g = Game(game, display, GAME_IN_PROGRESS)
    g.wait_presented()
    time.sleep(2.0)
    out = os.path.join(g.dir, "opens.txt")
    tracer = subprocess.Popen(["strace", "-f", "-qq", "-e", "trace=openat,open", "-o", out,
                               "-p", str(g.proc.pid)], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    time.sleep(1.0)
    play_game(g)
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


def frame_times(game, display):
    """The composed frames' times (ms) over the chain and the stage's end scenarios alone."""
    out = []
    g = Game(game, display, CHAIN_GAME)
    g.wait_presented()
    time.sleep(1.0)
    g.key("Up")
    time.sleep(3.5)
    g.stop()
    out += [us / 1000.0 for us in g.ticks("frame")]
    g = Game(game, display, STAGE_END_GAME)
    g.wait_presented()
    time.sleep(1.0)
    g.key("Up")
    time.sleep(9.0)
    g.stop()
    return out + [us / 1000.0 for us in g.ticks("frame")]


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--game", default=os.path.join(os.path.dirname(__file__), "..", "build",
                                                   "lumcrest"))
    ap.add_argument("--display", default=":97")
    ap.add_argument("--only", choices=["game", "frames"],
                    help="run only this scenario (frames: the chain and the stage's end, for the "
                    "composed frame's figure)")
    args = ap.parse_args()
    game = os.path.abspath(args.game)

    xvfb = subprocess.Popen(["Xvfb", args.display, "-screen", "0", "1024x768x24", "-noreset",
                             "-nolisten", "tcp"], stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    # A 1440p screen, where the window is shown at scale 2.
    big_display = args.display + "1"
    xvfb_big = subprocess.Popen(["Xvfb", big_display, "-screen", "0", "2560x1440x24",
                                 "-noreset", "-nolisten", "tcp"], stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
    time.sleep(1.0)
    sway = None
    if shutil.which("sway"):
        try:
            sway = Sway()
        except RuntimeError as e:
            print(f"no Wayland figures: {e}", file=sys.stderr)
    results = {k: [] for k in ("mapped_ms", "presented_ms", "menu_cpu", "quiet_cpu",
                               "waiting_cpu", "chain_cpu", "peak_mib", "play_cpu",
                               "menu2_cpu", "play2_cpu", "wayland_menu_cpu", "peak2_mib",
                               "game_cpu", "game_opens", "menu_peak_mib", "play_peak_mib",
                               "chain_peak_mib", "stage_peak_mib", "help_peak_mib",
                               "game_peak_mib")}
    timer1, fill = [], []
    frames = []  # composing and sending one frame during a chain and a stage's end, in ms
    opened = set()
    try:
        for run in range(args.runs):
            if args.only == "frames":
                frames += frame_times(game, args.display)
                print(f"run {run + 1} of {args.runs} done", file=sys.stderr)
                continue
            cpu, peak = game_cpu(game, args.display)
            results["game_cpu"].append(cpu)
            results["game_peak_mib"].append(peak)
            count, files = game_opens(game, args.display)
            if count is not None:
                results["game_opens"].append(count)
                opened.update(files)
            if args.only == "game":
                print(f"run {run + 1} of {args.runs} done", file=sys.stderr)
                continue

            # The start is timed on a settled machine: the game before it has just closed, and
            # the X server is still freeing what it held.
            time.sleep(1.0)
            g = Game(game, args.display, "")
            marks = g.wait_presented()
            results["mapped_ms"].append((marks["mapped"] - g.started_us) / 1000.0)
            results["presented_ms"].append((marks["presented"] - g.started_us) / 1000.0)
            time.sleep(5.0)
            results["menu_cpu"].append(g.cpu_percent(20.0))
            results["menu_peak_mib"].append(g.stop())

            g = Game(game, args.display, "[Settings]\nMusic=0\nSound=0\n")
            g.wait_presented()
            # Past the first sparkles, whose pictures are decoded when first drawn.
            time.sleep(10.0)
            results["quiet_cpu"].append(g.cpu_percent(30.0))
            results["menu_peak_mib"].append(g.stop())

            g = Game(game, args.display, "[Settings]\nFirst=0\n")
            g.wait_presented()
            time.sleep(2.0)
            results["waiting_cpu"].append(g.cpu_percent(10.0))
            results["play_cpu"].append(play(g))
            results["play_peak_mib"].append(g.stop())
            timer1 += periods_ms(g.ticks("Timer1"), 20)

            # The same at scale 2.
            g = Game(game, big_display, "")
            g.wait_presented()
            time.sleep(5.0)
            results["menu2_cpu"].append(g.cpu_percent(20.0))
            results["peak2_mib"].append(g.stop())
            g = Game(game, big_display, "[Settings]\nFirst=0\n")
            g.wait_presented()
            time.sleep(2.0)
            results["play2_cpu"].append(play(g))
            results["peak2_mib"].append(g.stop())

            if sway:
                g = Game(game, None, "", wayland=sway)
                time.sleep(5.0)
                results["wayland_menu_cpu"].append(g.cpu_percent(20.0))
                g.stop()

            g = Game(game, args.display, CHAIN_GAME)
            g.wait_presented()
            time.sleep(1.0)
            g.key("Up")
            results["chain_cpu"].append(g.cpu_percent(2.5))
            time.sleep(1.0)
            results["chain_peak_mib"].append(g.stop())
            frames += [us / 1000.0 for us in g.ticks("frame")]
            timer1 += periods_ms(g.ticks("Timer1"), 20)
            fill += periods_ms(g.ticks("filltimer"), 1)

            g = Game(game, args.display, STAGE_END_GAME)
            g.wait_presented()
            time.sleep(1.0)
            g.key("Up")
            time.sleep(9.0)  # the stage's end, the jar, the next stage's first bar
            results["stage_peak_mib"].append(g.stop())
            frames += [us / 1000.0 for us in g.ticks("frame")]

            g = Game(game, args.display, "[Settings]\nFirst=0\nName=Tess\n")
            g.wait_presented()
            time.sleep(1.0)
            g.key(*HELP_KEYS)
            time.sleep(3.0)
            results["help_peak_mib"].append(g.stop())
            print(f"run {run + 1} of {args.runs} done", file=sys.stderr)
    finally:
        for x in (xvfb, xvfb_big):
            x.terminate()
            x.wait()
        if sway:
            sway.stop()

    frame_row = ("a composed frame during a chain and a stage's end, 99th percentile",
                 f"{percentile(frames, 99):.2f} ms ({len(frames)} frames)", "≤ 4 ms",
                 percentile(frames, 99) <= GOALS["frame_ms"]) if frames else None
    if args.only == "frames":
        print_table(args.runs, [frame_row], set())
        return
    med = {k: statistics.median(v) for k, v in results.items() if v}
    scenario_peaks = [k for k in results if k.endswith("_peak_mib") or k == "peak2_mib"]
    for k in scenario_peaks:
        if results[k]:
            med[k] = max(results[k])
    med["peak_mib"] = max(med[k] for k in scenario_peaks if k in med and k != "peak2_mib")
    if results["peak2_mib"]:
        med["peak2_mib"] = max(results["peak2_mib"])
    late = [p - 20.0 for p in timer1]
    game_rows = [
        ("playing a game (16 bars in 20 s)", f"{med['game_cpu']:.2f} % of a core", "", None),
        ("files opened while playing",
         f"{med['game_opens']:.0f}" if "game_opens" in med else "(no strace)", "0",
         med["game_opens"] <= GOALS["game_opens"] if "game_opens" in med else None),
    ]
    peak_row = ("peak memory (largest VmHWM of the scenarios at scale 1)",
                f"{med['peak_mib']:.1f} MiB", f"≤ {GOALS['peak_mib']:.0f} MiB",
                med["peak_mib"] <= GOALS["peak_mib"])
    peak_rows = [(f"peak memory: {what}", f"{med[k]:.1f} MiB", f"≤ {GOALS['peak_mib']:.0f} MiB",
                  med[k] <= GOALS["peak_mib"]) for what, k in PEAK_SCENARIOS if k in med]
    if args.only == "game":
        print_table(args.runs, game_rows + [peak_row] + peak_rows, opened)
        return
    rows = [
        ("start to window mapped", f"{med['mapped_ms']:.1f} ms", "≤ 50 ms",
         med["mapped_ms"] <= GOALS["mapped_ms"]),
        ("start to first presented frame", f"{med['presented_ms']:.1f} ms", "≤ 60 ms",
         med["presented_ms"] <= GOALS["presented_ms"]),
        ("idle at the menu, music on", f"{med['menu_cpu']:.2f} % of a core", "≤ 0.38 %",
         med["menu_cpu"] <= GOALS["menu_cpu"]),
        ("idle at the menu, music and sound off", f"{med['quiet_cpu']:.3f} % of a core", "≤ 0.1 %",
         med["quiet_cpu"] <= GOALS["quiet_cpu"]),
        ("a bar waiting in play", f"{med['waiting_cpu']:.2f} % of a core", "", None),
        ("during a chain", f"{med['chain_cpu']:.2f} % of a core", "", None),
        ("ten launches, scale 1", f"{med['play_cpu']:.2f} % of a core", "", None),
        ("idle at the menu, music on, scale 2 (2560 x 1440 screen)",
         f"{med['menu2_cpu']:.2f} % of a core", "≤ 1.5 × scale 1",
         med["menu2_cpu"] <= 1.5 * med["menu_cpu"]),
        ("ten launches, scale 2", f"{med['play2_cpu']:.2f} % of a core", "≤ 1.5 × scale 1",
         med["play2_cpu"] <= 1.5 * med["play_cpu"]),
    ]
    if "wayland_menu_cpu" in med:
        rows.append(("idle at the menu, music on, native Wayland (headless sway)",
                     f"{med['wayland_menu_cpu']:.2f} % of a core", "beside X11", None))
    rows += game_rows + [
        peak_row,
    ] + peak_rows + [
        ("Timer1 period, median", f"{percentile(timer1, 50):.2f} ms ({len(timer1)} periods)",
         "20 ± 0.5 ms", abs(percentile(timer1, 50) - 20.0) <= 0.5),
        ("Timer1 lateness, 99th percentile", f"{percentile(late, 99):.2f} ms", "< 2 ms",
         percentile(late, 99) < 2.0),
        frame_row,
        ("filltimer period, median / 99th percentile",
         f"{percentile(fill, 50):.2f} / {percentile(fill, 99):.2f} ms ({len(fill)} periods)", "",
         None),
    ]
    print_table(args.runs, rows, opened)


def print_table(runs, rows, opened):
    print(f"Medians of {runs} runs under Xvfb.\n")
    print("| measure | figure | goal | met |")
    print("|---|---|---|---|")
    for name, figure, goal, met in rows:
        print(f"| {name} | {figure} | {goal} | {'' if met is None else ('yes' if met else 'NO')} |")
    if opened:
        print("\nFiles opened while playing: " +
              ", ".join(os.path.basename(f) for f in sorted(opened)))


if __name__ == "__main__":
    main()
