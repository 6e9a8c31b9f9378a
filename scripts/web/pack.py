#!/usr/bin/env python3
"""Packs the game's data for the page: one download for what every player needs (the pictures,
sounds and music, the catalogues, the TeX Gyre Schola faces) and one for each language's own
pictures (with the DejaVu Serif faces for Russian, the only language that draws with them), so a
player downloads only their language. The faces that stand in for letters the game's own lack
(FONTS_DIR/fallback.txt, written by fallback-fonts.py) come in packs of their own, which the page
downloads only when a text needs one of their letters. Each pack is NAME.pack (the files end to end) and
NAME.json (their paths in the game's file system and sizes, in that order).

The two music tracks come from REPLACE_DIR when given: the same tracks encoded at a lower bit
rate for the download (scripts/build-web.sh makes them).

usage: pack.py DATA_DIR LOCALE_DIR FONTS_DIR OUT_DIR [REPLACE_DIR]"""
import json
import os
import sys

LANGUAGES = ["de", "fr", "es", "it", "pt_BR", "nl", "pl", "ru"]


def walk(folder, prefix):
    out = []
    for top, dirs, files in os.walk(folder):
        dirs.sort()
        for name in sorted(files):
            full = os.path.join(top, name)
            out.append((full, prefix + "/" + os.path.relpath(full, folder)))
    return out


def write_pack(out_dir, name, entries):
    index, blob = [], bytearray()
    for full, target in entries:
        with open(full, "rb") as f:
            data = f.read()
        index.append({"path": target, "size": len(data)})
        blob += data
    pack = os.path.join(out_dir, name + ".pack")
    # Unchanged packs keep their date, so a browser's cache and a rebuild both see them as the same.
    old = None
    if os.path.exists(pack):
        with open(pack, "rb") as f:
            old = f.read()
    if old != bytes(blob):
        with open(pack, "wb") as f:
            f.write(blob)
    with open(os.path.join(out_dir, name + ".json"), "w") as f:
        json.dump(index, f)


def main():
    data, locale, fonts, out = sys.argv[1:5]
    replace = sys.argv[5] if len(sys.argv) > 5 else None
    os.makedirs(out, exist_ok=True)
    common = [e for e in walk(data, "/data") if e[1].split("/")[2] not in LANGUAGES]
    if replace:
        common = [(os.path.join(replace, os.path.basename(full))
                   if os.path.exists(os.path.join(replace, os.path.basename(full))) else full, target)
                  for full, target in common]
    common += walk(locale, "/locale")
    common += [e for e in walk(fonts, "/fonts") if os.path.basename(e[0]).startswith("texgyre")]
    common.append((os.path.join(fonts, "fallback.txt"), "/fonts/fallback.txt"))
    write_pack(out, "common", common)
    faces = {}
    with open(os.path.join(fonts, "fallback.txt")) as f:
        for line in f:
            pack, _, _, _, name = line.split()[:5]
            if pack != "common":
                faces.setdefault(pack, []).append((os.path.join(fonts, name), "/fonts/" + name))
    for pack, entries in faces.items():
        write_pack(out, pack, entries)
    for lang in LANGUAGES:
        entries = walk(os.path.join(data, lang), "/data/" + lang)
        if lang == "ru":
            entries += [e for e in walk(fonts, "/fonts") if os.path.basename(e[0]).startswith("DejaVuSerif")]
        write_pack(out, "lang-" + lang, entries)


if __name__ == "__main__":
    main()
