#!/usr/bin/env python3
"""The layering check on small made-up trees: it finds what runs against the layers, places every
folder with C++, and passes over build trees.

Usage: layering_test.py"""
import atexit
import os
import shutil
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import layering  # noqa: E402


def tree(files):
    """A temporary source tree (not a git work tree) holding FILES, path -> text; removed when
    the test ends."""
    root = tempfile.mkdtemp(prefix="layering-")
    atexit.register(shutil.rmtree, root, True)
    for path, text in files.items():
        full = os.path.join(root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "w", encoding="utf-8") as f:
            f.write(text)
    return root


class Layering(unittest.TestCase):
    def test_includes_that_run_downward_or_stay_in_the_folder_pass(self):
        src = tree({
            "app/form.cpp": '#include "ui/menu_panel.h"\n#include "app/form.h"\n',
            "toolkit/sdl/sdl_window.cpp": '#include "toolkit/window.h"\n#include <SDL.h>\n',
            "assets/forge/music.cpp": '#include "assets/catalogue.h"\n#include "score.h"\n',
            "web/main.cpp": '#include "app/program.h"\n',
            "tests/rules/walls_test.cpp": '#include "game/walls.h"\n#include "tests/rules/well.h"\n',
            "tests/game/fixture.h": '#include "tools/lumcrest-drive/driver.h"\n',
        })
        self.assertEqual(layering.faults_of(src), [])

    def test_upward_and_sideways_includes_are_named_with_their_line(self):
        src = tree({
            "view/board.cpp": '// the board\n#include "view/board.h"\n  #  include "app/form.h"\n',
            "game/walls.cpp": '#include "toolkit/timer.h"\n',
            "assets/forge/music.cpp": '#include "audio/game_audio.h"\n',
            "audio/sound.cpp": '#include "assets/forge/forge.h"\n',
            "tests/rules/bar_test.cpp": '#include "toolkit/window.h"\n',
        })
        self.assertEqual(layering.faults_of(src), [
            "assets/forge/music.cpp:1: assets/forge includes audio/, against the layering",
            "audio/sound.cpp:1: audio includes assets/forge/, against the layering",
            "game/walls.cpp:1: game includes toolkit/, against the layering",
            "tests/rules/bar_test.cpp:1: tests/rules includes toolkit/, against the layering",
            "view/board.cpp:3: view includes app/, against the layering",
        ])

    def test_a_folder_with_cpp_but_no_place_fails_and_build_trees_are_passed_over(self):
        src = tree({
            "plugins/a.cpp": "", "plugins/b.h": "", "stray.cpp": "",
            "docs/notes.md": '#include "app/form.h"\n',
            "build/CMakeCache.txt": "", "build/gen/x.cpp": '#include "app/form.h"\n',
            "out/CMakeCache.txt": "", "out/y.cpp": "",
            "build-mutants/m1/game/walls.cpp": '#include "app/form.h"\n',
            ".hidden/z.cpp": "",
        })
        self.assertEqual(layering.faults_of(src), [
            "plugins: C++ outside the layering (give the folder its place in layering.py)",
            "stray.cpp: C++ outside the layering (give the folder its place in layering.py)",
        ])


if __name__ == "__main__":
    unittest.main()
