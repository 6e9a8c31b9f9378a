#!/usr/bin/env python3
"""The side-by-side comparison of scripts/measure-peers.sh (which installs the peers first)."""
import argparse
import ctypes
import os
import select
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
    """Just enough of Xlib and XDamage (through ctypes) to see a game's window appear and fill.

    Nothing is polled: the root window reports every top-level window mapped, and a damage object
    on it every drawing anywhere on the screen, so the measurement costs the measured game no CPU
    while it starts (spawning a helper every few milliseconds on a 2-core machine slowed every
    game's start by half)."""

    MAP_NOTIFY = 19
    SUBSTRUCTURE_NOTIFY = 1 << 19
    DAMAGE_REPORT_NON_EMPTY = 3

    class Attributes(ctypes.Structure):
        _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int),
                    ("height", ctypes.c_int), ("border_width", ctypes.c_int),
                    ("depth", ctypes.c_int), ("visual", ctypes.c_void_p),
                    ("root", ctypes.c_ulong), ("klass", ctypes.c_int),
                    ("bit_gravity", ctypes.c_int), ("win_gravity", ctypes.c_int),
                    ("backing_store", ctypes.c_int), ("backing_planes", ctypes.c_ulong),
                    ("backing_pixel", ctypes.c_ulong), ("save_under", ctypes.c_int),
                    ("colormap", ctypes.c_ulong), ("map_installed", ctypes.c_int),
                    ("map_state", ctypes.c_int), ("all_event_masks", ctypes.c_long),
                    ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                    ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p)]

    def __init__(self, display):
        lib = self.lib = ctypes.CDLL("libX11.so.6")
        dmg = self.dmg = ctypes.CDLL("libXdamage.so.1")
        vp, ul = ctypes.c_void_p, ctypes.c_ulong
        lib.XOpenDisplay.restype = vp
        lib.XDefaultRootWindow.restype = ul
        lib.XDefaultRootWindow.argtypes = [vp]
        lib.XGetImage.restype = vp
        lib.XGetImage.argtypes = [vp, ul, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                  ctypes.c_uint, ul, ctypes.c_int]
        lib.XDestroyImage.argtypes = [vp]
        lib.XSelectInput.argtypes = [vp, ul, ctypes.c_long]
        lib.XPending.argtypes = [vp]
        lib.XNextEvent.argtypes = [vp, vp]
        lib.XConnectionNumber.argtypes = [vp]
        lib.XFlush.argtypes = [vp]
        lib.XInternAtom.restype = ul
        lib.XInternAtom.argtypes = [vp, ctypes.c_char_p, ctypes.c_int]
        lib.XGetWindowProperty.argtypes = [vp, ul, ul, ctypes.c_long, ctypes.c_long,
                                           ctypes.c_int, ul, ctypes.POINTER(ul),
                                           ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ul),
                                           ctypes.POINTER(ul), ctypes.POINTER(vp)]
        lib.XQueryTree.argtypes = [vp, ul, ctypes.POINTER(ul), ctypes.POINTER(ul),
                                   ctypes.POINTER(ctypes.POINTER(ul)),
                                   ctypes.POINTER(ctypes.c_uint)]
        lib.XGetWindowAttributes.argtypes = [vp, ul, ctypes.POINTER(X.Attributes)]
        lib.XFree.argtypes = [vp]
        dmg.XDamageQueryExtension.argtypes = [vp, ctypes.POINTER(ctypes.c_int),
                                              ctypes.POINTER(ctypes.c_int)]
        dmg.XDamageCreate.restype = ul
        dmg.XDamageCreate.argtypes = [vp, ul, ctypes.c_int]
        dmg.XDamageSubtract.argtypes = [vp, ul, ul, ul]
        self.dpy = lib.XOpenDisplay(display.encode())
        if not self.dpy:
            raise RuntimeError(f"cannot open display {display}")
        event_base, error_base = ctypes.c_int(), ctypes.c_int()
        if not dmg.XDamageQueryExtension(self.dpy, ctypes.byref(event_base),
                                         ctypes.byref(error_base)):
            raise RuntimeError("the X server has no DAMAGE extension")
        self.damage_notify = event_base.value
        self.root = lib.XDefaultRootWindow(self.dpy)
        lib.XSelectInput(self.dpy, self.root, X.SUBSTRUCTURE_NOTIFY)
        # Drawing into any window on the screen damages the root window's area too.
        self.damage = dmg.XDamageCreate(self.dpy, self.root, X.DAMAGE_REPORT_NON_EMPTY)
        self.pid_atom = lib.XInternAtom(self.dpy, b"_NET_WM_PID", 0)
        self.event = (ctypes.c_long * 24)()
        # A window that goes or changes size between the notice and the capture is an error the
        # measurement outlives: the next drawing is looked at again.
        handler_type = ctypes.CFUNCTYPE(ctypes.c_int, vp, vp)
        self.ignore_errors = handler_type(lambda display, error: 0)
        lib.XSetErrorHandler.argtypes = [handler_type]
        lib.XSetErrorHandler(self.ignore_errors)
        lib.XFlush(self.dpy)

    def forget_events(self):
        """Drops what happened before a launch and asks for the next drawing anew."""
        while self.lib.XPending(self.dpy):
            self.lib.XNextEvent(self.dpy, self.event)
        self.dmg.XDamageSubtract(self.dpy, self.damage, 0, 0)
        self.lib.XFlush(self.dpy)

    def next_events(self, timeout):
        """The (type, window) of the events that come within TIMEOUT seconds."""
        if not self.lib.XPending(self.dpy):
            select.select([self.lib.XConnectionNumber(self.dpy)], [], [], timeout)
        got = []
        while self.lib.XPending(self.dpy):
            self.lib.XNextEvent(self.dpy, self.event)
            kind = ctypes.c_int.from_buffer(self.event).value
            got.append((kind, self.event[5] if kind == X.MAP_NOTIFY else 0))
            if kind == self.damage_notify:
                self.dmg.XDamageSubtract(self.dpy, self.damage, 0, 0)
        self.lib.XFlush(self.dpy)
        return got

    def window_pid(self, window):
        """The _NET_WM_PID of WINDOW or of the first child that has one; None without."""
        ul = ctypes.c_ulong
        kind, fmt, count, after, data = ul(), ctypes.c_int(), ul(), ul(), ctypes.c_void_p()
        if self.lib.XGetWindowProperty(self.dpy, window, self.pid_atom, 0, 1, 0, 6,
                                       ctypes.byref(kind), ctypes.byref(fmt),
                                       ctypes.byref(count), ctypes.byref(after),
                                       ctypes.byref(data)) == 0 and data.value:
            pid = ctypes.c_ulong.from_address(data.value).value if count.value else None
            self.lib.XFree(data)
            if pid:
                return pid
        root, parent = ul(), ul()
        children, n = ctypes.POINTER(ul)(), ctypes.c_uint()
        if not self.lib.XQueryTree(self.dpy, window, ctypes.byref(root), ctypes.byref(parent),
                                   ctypes.byref(children), ctypes.byref(n)):
            return None
        kids = [children[i] for i in range(n.value)]
        if children:
            self.lib.XFree(children)
        for kid in kids:
            pid = self.window_pid(kid)
            if pid:
                return pid
        return None

    def drawn(self, window):
        """True when the window is on screen and its pixels are not all one colour."""
        attributes = X.Attributes()
        if not self.lib.XGetWindowAttributes(self.dpy, window, ctypes.byref(attributes)):
            return False
        w, h = attributes.width, attributes.height
        if attributes.map_state != 2:  # IsViewable
            return False
        img = self.lib.XGetImage(self.dpy, window, 0, 0, w, h, 0xFFFFFF, 2)  # ZPixmap
        if not img:
            return False
        # XImage: width, height, xoffset, format, data (char*), ... bytes_per_line at offset 44.
        data = ctypes.c_void_p.from_address(img + 16).value
        stride = ctypes.c_int.from_address(img + 44).value
        pixels = ctypes.string_at(data, stride * h)
        self.lib.XDestroyImage(img)
        rows = [pixels[y * stride:y * stride + w * 4] for y in range(h)]
        return any(row != rows[0][:4] * w for row in rows)


class Run:
    def __init__(self, name, args, x, scenario):
        display = args.display
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
        x.forget_events()
        self.started = time.monotonic()
        self.started_us = time.time() * 1e6
        self.proc = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        self.window = None

    def wait_window(self, x, timeout=30.0):
        """Seconds from launch to the window mapped, then to its first non-uniform picture."""
        end = self.started + timeout
        mapped = drawn = None
        while time.monotonic() < end and drawn is None:
            events = x.next_events(min(0.05, max(0.0, end - time.monotonic())))
            at = time.monotonic() - self.started
            if self.window is None:
                for kind, window in events:
                    if kind == X.MAP_NOTIFY and x.window_pid(window) == self.proc.pid:
                        mapped, self.window = at, window
                        break
            # A drawing since the last look, or a look every 50 ms in case one slipped by.
            if self.window is not None and x.drawn(self.window):
                drawn = at
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
    run = Run(name, args, x, "idle")
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
        quiet = Run(name, args, x, "quiet")
        quiet.wait_window(x)
        time.sleep(5)
        figures["quiet"].append(quiet.cpu_percent(20))
        figures["peak"].append(quiet.stop())
    play = Run(name, args, x, "play")
    play.wait_window(x)
    time.sleep(3)
    figures["play"].append(play.cpu_percent(10, keys=True))
    figures["peak"].append(play.stop())


ROWS = [
    ("launch to window mapped", "mapped", "ms", min),
    ("launch to start screen drawn (window captured at each drawing)", "drawn", "ms", min),
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
