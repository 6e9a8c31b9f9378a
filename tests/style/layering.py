#!/usr/bin/env python3
"""No include runs against the layering of the README's "Layout of the code": each folder
includes only from itself and the folders below it. The rules library and the toolkit stand on
their own; the parts (store, audio, view, ui) never include the window (app/) that wires them;
the asset forge is a build tool that stands on the asset catalogue alone, and nothing of the game
includes it. Every folder that holds C++ has a place here: a new one fails until it is given one.

Usage: layering.py SOURCE-DIR"""
import os
import re
import subprocess
import sys

# The folders each folder may include from, besides itself. A file belongs to the longest folder
# named here that holds it: "assets" is the asset catalogue (assets/*.h, the standard library
# only), "assets/forge" the forge; the checks of what it made are tests (tests/assets).
# fmt: off
GAME = {"app", "ui", "view", "audio", "store", "game", "toolkit", "assets"}
ALLOWED = {
    "toolkit":      set(),
    "game":         set(),
    "assets":       set(),
    "assets/forge": {"assets"},
    "store":        {"game", "toolkit"},
    "audio":        {"store", "toolkit", "assets"},
    "view":         {"game", "toolkit", "assets"},
    "ui":           {"game", "store", "toolkit", "assets"},
    "app":          {"ui", "view", "audio", "store", "game", "toolkit", "assets"},
    # The programs over the game: the script driver and the browser's entry.
    "tools":        GAME,
    "web":          GAME,
    # The rules' own tests run on the rules library alone; the other tests may reach anything.
    "tests/rules":  {"game"},
    "tests":        GAME | {"tools", "assets/forge"},
}
# fmt: on

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
CPP = (".h", ".cpp")


def owner(path):
    """The folder of ALLOWED that PATH (relative to the source tree) belongs to, or None."""
    best = None
    for folder in ALLOWED:
        if path.startswith(folder + "/") and (best is None or len(folder) > len(best)):
            best = folder
    return best


def cpp_files(src):
    """Every C++ file of the tree, relative to SRC: git's list where SRC is a work tree's top,
    else every file below it but for hidden folders and build trees (a copy of the sources, as
    the mutation runs make, has no list of its own; so is a machine without git)."""
    try:
        top = subprocess.run(["git", "-C", src, "rev-parse", "--show-toplevel"],
                             capture_output=True, text=True)
    except OSError:
        top = None
    if top and top.returncode == 0 and os.path.realpath(top.stdout.strip()) == os.path.realpath(src):
        listed = subprocess.run(["git", "-C", src, "ls-files", "--cached", "--others",
                                 "--exclude-standard"], capture_output=True, text=True,
                                check=True).stdout.splitlines()
        return sorted(p for p in listed if p.endswith(CPP) and os.path.isfile(os.path.join(src, p)))
    found = []
    for dirpath, dirnames, filenames in os.walk(src):
        dirnames[:] = [d for d in dirnames if not d.startswith((".", "build"))
                       and not os.path.exists(os.path.join(dirpath, d, "CMakeCache.txt"))]
        found += [os.path.relpath(os.path.join(dirpath, n), src)
                  for n in filenames if n.endswith(CPP)]
    return sorted(found)


def faults_of(src):
    faults = []
    unplaced = set()
    for rel in cpp_files(src):
        folder = owner(rel)
        if folder is None:
            unplaced.add(rel.split("/")[0] if "/" in rel else rel)
            continue
        with open(os.path.join(src, rel), encoding="utf-8") as f:
            for number, line in enumerate(f, 1):
                m = INCLUDE.match(line)
                if not m:
                    continue
                target = owner(m.group(1))
                if target is not None and target != folder and target not in ALLOWED[folder]:
                    faults.append("%s:%d: %s includes %s/, against the layering"
                                  % (rel, number, folder, target))
    for name in sorted(unplaced):
        faults.append("%s: C++ outside the layering (give the folder its place in layering.py)"
                      % name)
    return faults


def main():
    faults = faults_of(sys.argv[1])
    for fault in faults:
        print(fault, file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
