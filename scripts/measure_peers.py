#!/usr/bin/env python3
"""The side-by-side comparison of scripts/measure-peers.sh (which installs the peers first)."""
import argparse
import ctypes
import os
import statistics
import subprocess
import tempfile
import time

from proc_figures import cpu_seconds, peak_mib

PEERS = {
    "Lumcrest": None,  # the build's own binary
    "Gweled": ["/usr/games/gweled"],
    "Frozen Bubble": ["/usr/games/frozen-bubble"],
}
# Lumcrest's settings: the start screen of a first run (the menu), the same with music and sound
# off, and a game shown at once for the play.
LUMCREST_INI = {
    "idle": "",
    "quiet": "[Settings]\nMusic=0\nSound=0\n",
    "play": "[Settings]\nFirst=0\n",
}


class X:
    """Just enough of Xlib (through ctypes) to read a window's pixels."""

    def __init__(self, display):
        self.lib = ctypes.CDLL("libX11.so.6")
        self.lib.XOpenDisplay.restype = ctypes.c_void_p
        self.lib.XGetImage.restype = ctypes.c_void_p
        self.lib.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int,
                                       ctypes.c_int, ctypes.c_uint, ctypes.c_uint,
                                       ctypes.c_ulong, ctypes.c_int]
        self.lib.XDestroyImage.argtypes = [ctypes.c_void_p]
        self.dpy = self.lib.XOpenDisplay(display.encode())
        if not self.dpy:
            raise RuntimeError(f"cannot open display {display}")

    def drawn(self, window, w, h):
        """True when the window's pixels are not all one colour."""
        img = self.lib.XGetImage(self.dpy, window, 0, 0, w, h, 0xFFFFFFFF, 2)  # ZPixmap
        if not img:
            return False
        # XImage: width, height, xoffset, format, data (char*), ... bytes_per_line at offset 44.
        data = ctypes.cast(ctypes.c_void_p.from_address(img + 16).value,
                           ctypes.POINTER(ctypes.c_uint32))
        stride = ctypes.c_int.from_address(img + 44).value // 4
        first = data[0] & 0xFFFFFF
        different = any((data[y * stride + x] & 0xFFFFFF) != first
                        for y in range(0, h, 7) for x in range(0, w, 7))
        self.lib.XDestroyImage(img)
        return different


class Run:
    def __init__(self, name, args, display, scenario):
        self.home = tempfile.mkdtemp(prefix="peers-")
        env = dict(os.environ, DISPLAY=display, HOME=self.home, SDL_AUDIODRIVER="dummy",
                   XDG_CONFIG_HOME=os.path.join(self.home, ".config"), SDL_VIDEODRIVER="x11")
        command = PEERS[name] or [args.game]
        # ALSA with no sound card: a null device, or Gweled stops at its first sound.
        with open(os.path.join(self.home, ".asoundrc"), "w") as f:
            f.write("pcm.!default { type null }\n")
        if name == "Lumcrest":
            os.makedirs(os.path.join(env["XDG_CONFIG_HOME"], "lumcrest"))
            with open(os.path.join(env["XDG_CONFIG_HOME"], "lumcrest", "lumcrest.ini"), "w") as f:
                f.write(LUMCREST_INI[scenario])
            env["LUMCREST_TICK_LOG"] = os.path.join(self.home, "ticks.log")
        self.display = display
        self.started = time.monotonic()
        self.started_us = time.time() * 1e6
        self.proc = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        self.window = None

    def wait_window(self, x, timeout=30.0):
        """Seconds from launch to the window mapped, then to its first non-uniform picture."""
        end = time.monotonic() + timeout
        mapped = drawn = None
        while time.monotonic() < end and drawn is None:
            if self.window is None:
                out = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid",
                                      str(self.proc.pid)],
                                     capture_output=True, text=True,
                                     env=dict(os.environ, DISPLAY=self.display)).stdout.split()
                if out:
                    mapped = time.monotonic() - self.started
                    self.window = int(out[-1])
                    geo = subprocess.run(["xdotool", "getwindowgeometry", "--shell",
                                          str(self.window)], capture_output=True, text=True,
                                         env=dict(os.environ, DISPLAY=self.display)).stdout
                    g = dict(line.split("=", 1) for line in geo.split() if "=" in line)
                    self.size = (int(g.get("WIDTH", 1)), int(g.get("HEIGHT", 1)))
            elif x.drawn(self.window, *self.size):
                drawn = time.monotonic() - self.started
            time.sleep(0.002)
        return mapped, drawn

    def cpu_percent(self, seconds, keys=False):
        pid = self.proc.pid
        before = cpu_seconds(pid)
        start = time.monotonic()
        step = 0
        while time.monotonic() - start < seconds:
            if keys and self.window:
                subprocess.run(["xdotool", "key", "--window", str(self.window),
                                "Left" if step % 2 == 0 else "Right"],
                               env=dict(os.environ, DISPLAY=self.display),
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                step += 1
                time.sleep(max(0.0, start + step * 0.3 - time.monotonic()))
            else:
                time.sleep(0.2)
        return 100.0 * (cpu_seconds(pid) - before) / (time.monotonic() - start)

    def stop(self):
        peak = peak_mib(self.proc.pid)
        self.proc.terminate()
        try:
            self.proc.wait(timeout=5)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
        return peak


def lumcrest_marks(run):
    """Lumcrest writes when its window is mapped and its first frame presented."""
    path = os.path.join(run.home, "ticks.log")
    marks = {}
    for line in open(path) if os.path.exists(path) else []:
        parts = line.split()
        if len(parts) >= 2 and parts[0] in ("mapped", "presented") and parts[0] not in marks:
            marks[parts[0]] = int(parts[1])
    return marks


def one_round(name, args, x, figures):
    run = Run(name, args, args.display, "idle")
    mapped, drawn = run.wait_window(x)
    figures["mapped"].append(mapped)
    figures["drawn"].append(drawn)
    time.sleep(5)
    if name == "Lumcrest":
        marks = lumcrest_marks(run)
        if "mapped" in marks and "presented" in marks:
            figures["own_mapped"].append((marks["mapped"] - run.started_us) / 1e6)
            figures["own_drawn"].append((marks["presented"] - run.started_us) / 1e6)
    figures["idle"].append(run.cpu_percent(20))
    figures["peak"].append(run.stop())
    if name == "Lumcrest":
        quiet = Run(name, args, args.display, "quiet")
        quiet.wait_window(x)
        time.sleep(5)
        figures["quiet"].append(quiet.cpu_percent(20))
        figures["peak"].append(quiet.stop())
    play = Run(name, args, args.display, "play")
    play.wait_window(x)
    time.sleep(3)
    figures["play"].append(play.cpu_percent(10, keys=True))
    figures["peak"].append(play.stop())


ROWS = [
    ("launch to window mapped", "mapped", "ms", min),
    ("launch to start screen drawn (window captured every few ms)", "drawn", "ms", min),
    ("Lumcrest's own marks (tick log): mapped", "own_mapped", "ms", min),
    ("Lumcrest's own marks (tick log): first frame presented", "own_drawn", "ms", min),
    ("idle at the start screen, music on", "idle", "%", min),
    ("idle, music and sound off (Lumcrest only)", "quiet", "%", min),
    ("play, one input every 300 ms", "play", "%", min),
    ("peak memory (VmHWM)", "peak", "MiB", min),
]


def show(value, unit):
    if value is None:
        return "n/a"
    if unit == "ms":
        return f"{value * 1000:.0f} ms"
    if unit == "%":
        return f"{value:.2f} %"
    return f"{value:.1f} MiB"


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--rounds", type=int, default=3)
    ap.add_argument("--game", default=os.path.join(os.path.dirname(__file__), "..", "build",
                                                   "lumcrest"))
    ap.add_argument("--display", default=":95")
    args = ap.parse_args()
    args.game = os.path.abspath(args.game)
    xvfb = subprocess.Popen(["Xvfb", args.display, "-screen", "0", "1024x768x24", "-noreset",
                             "-nolisten", "tcp"], stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    time.sleep(1.0)
    results = {name: {k: [] for _, k, _, _ in ROWS} for name in PEERS}
    try:
        x = X(args.display)
        for _ in range(args.rounds):
            for name in PEERS:
                one_round(name, args, x, results[name])
    finally:
        xvfb.terminate()
        xvfb.wait()
    load = os.getloadavg()
    print(f"Medians of {args.rounds} interleaved rounds under one Xvfb "
          f"(load average {load[0]:.1f} / {load[1]:.1f} / {load[2]:.1f}); peak is the largest.\n")
    print("| figure | " + " | ".join(PEERS) + " | Lumcrest / best |")
    print("|---|" + "---|" * (len(PEERS) + 1))
    for label, key, unit, _ in ROWS:
        values = {}
        for name in PEERS:
            got = [v for v in results[name][key] if v is not None]
            values[name] = (max(got) if key == "peak" else statistics.median(got)) if got else None
        # The best of the other games: below 1, Lumcrest leads on that figure.
        best = min((v for n, v in values.items() if n != "Lumcrest" and v is not None),
                   default=None)
        ours = values["Lumcrest"]
        ratio = f"{ours / best:.2f}" if ours is not None and best else ""
        print(f"| {label} | " + " | ".join(show(values[n], unit) for n in PEERS) + f" | {ratio} |")


if __name__ == "__main__":
    main()
