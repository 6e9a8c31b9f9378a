#!/usr/bin/env python3
"""No include runs against the layering of the README's "Layout of the code": each folder
includes only from itself and the folders below it. The rules library and the toolkit stand on
their own; the parts (store, audio, view, ui) never include the window (app/) that wires them.

Usage: layering.py SOURCE-DIR"""
import os
import re
import sys

# The folders each folder may include from, besides itself. "assets" is the asset catalogue
# (assets/*.h, the standard library only); the forge under assets/forge is a build tool of its
# own and is not a layer of the game.
# fmt: off
ALLOWED = {
    "toolkit": set(),
    "game":    set(),
    "assets":  set(),
    "store":   {"game", "toolkit"},
    "audio":   {"store", "toolkit", "assets"},
    "view":    {"game", "toolkit", "assets"},
    "ui":      {"game", "store", "toolkit", "assets"},
    "app":     {"ui", "view", "audio", "store", "game", "toolkit", "assets"},
    "tools":   {"app", "ui", "view", "audio", "store", "game", "toolkit", "assets"},
}
# fmt: on

INCLUDE = re.compile(r'^\s*#\s*include\s*"([a-z_-]+)/')


def sources(src, folder):
    """The C++ files of FOLDER (the asset catalogue only for assets/)."""
    root = os.path.join(src, folder)
    for dirpath, dirnames, filenames in os.walk(root):
        if folder == "assets":
            dirnames[:] = []
        for name in sorted(filenames):
            if name.endswith((".h", ".cpp")):
                yield os.path.join(dirpath, name)


def main():
    src = sys.argv[1]
    faults = []
    for folder, below in ALLOWED.items():
        for path in sources(src, folder):
            with open(path, encoding="utf-8") as f:
                for number, line in enumerate(f, 1):
                    m = INCLUDE.match(line)
                    if m and m.group(1) != folder and m.group(1) not in below:
                        rel = os.path.relpath(path, src)
                        faults.append("%s:%d: %s includes %s/, against the layering"
                                      % (rel, number, folder, m.group(1)))
    for fault in faults:
        print(fault, file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
