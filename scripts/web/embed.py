#!/usr/bin/env python3
"""Writes the C++ source that carries the forge's embedded pictures inside the game for the
browser: the same table as assets/embed_files.cmake writes for the desktop, with each file as a
string literal (WebAssembly's assembler has no .incbin). The literal's own zero byte follows
each file, as on the desktop.

usage: embed.py IN_DIR OUT_FILE"""
import os
import sys


def literal(data):
    lines = []
    for at in range(0, len(data), 64):
        lines.append('    "' + "".join("\\%03o" % b for b in data[at:at + 64]) + '"')
    return "\n".join(lines) if lines else '    ""'


def main():
    in_dir, out_file = sys.argv[1], sys.argv[2]
    names = sorted(n for n in os.listdir(in_dir) if os.path.isfile(os.path.join(in_dir, n)))
    out = ["// Written by scripts/web/embed.py from the forge's output: do not edit.",
           '#include "embedded_resources.h"', ""]
    table = []
    for i, name in enumerate(names):
        with open(os.path.join(in_dir, name), "rb") as f:
            data = f.read()
        out.append("alignas(16) static const char kFile%d[] =\n%s;" % (i, literal(data)))
        table.append('    {"%s", reinterpret_cast<const unsigned char*>(kFile%d), %du},' % (name, i, len(data)))
    out += ["", "namespace lumcrest::assets::detail {",
            "extern const EmbeddedFile kEmbeddedFiles[] = {"] + table + [
        "};", "extern const std::size_t kEmbeddedFileCount = %d;" % len(names),
        "}  // namespace lumcrest::assets::detail", ""]
    text = "\n".join(out)
    if not os.path.exists(out_file) or open(out_file).read() != text:
        with open(out_file, "w") as f:
            f.write(text)


if __name__ == "__main__":
    main()
