#!/usr/bin/env python3
"""The game in every language, through the script driver.

languages_test.py DRIVER [--shots DIR]

For each language (and English under LC_ALL=C) the game starts on a desktop of that language,
walks the menu, the name panel, the help panel, the high-score panel and the About box, and
checks that every caption is in the language, fits its control and leaves its neighbours alone,
that the pictures with words are the language's own, and that player names stay as typed.
With --shots the menu and the help page of each language are written to DIR as LANG-menu.png
and LANG-help.png.
"""
import os
import subprocess
import sys
import tempfile
import zlib

LANGUAGES = ["de", "fr", "es", "it", "pt_BR", "nl", "pl", "ru"]
failures = []
# Captions whose word is the language's own and happens to be the English one.
SAME_WORD = {("nl", "Label18"), ("nl", "levelup")}


def fail(lang, what):
    failures.append(f"{lang}: {what}")


# The run's own scratch folder, removed at its end: every settings folder and shot goes in it.
SCRATCH = tempfile.TemporaryDirectory(prefix="lumcrest-languages-")


def run(driver, commands, env_extra, ini="[Settings]\nFirst=0\nName=Ana\n"):
    home = tempfile.mkdtemp(dir=SCRATCH.name)
    with open(os.path.join(home, "lumcrest.ini"), "w", encoding="utf-8") as f:
        f.write(ini)
    env = {k: v for k, v in os.environ.items()
           if k not in ("LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG")}
    env.update(env_extra)
    out = subprocess.run([driver, "--home", home, "--seed", "1"], input="\n".join(commands) + "\n",
                         capture_output=True, text=True, env=env, timeout=60, encoding="utf-8")
    return out.stdout.splitlines(), home


def fields(line):
    """'NAME k=v k=v caption=TEXT' -> dict (caption runs to the end of the line)."""
    head, _, caption = line.partition(" caption=")
    d = dict(p.split("=", 1) for p in head.split()[1:] if "=" in p)
    d["caption"] = caption
    return d


def png_pixels(path):
    """The raw rows of a PNG the driver wrote (enough to compare two shots)."""
    with open(path, "rb") as f:
        data = f.read()
    pos, idat = 8, b""
    while pos < len(data):
        length = int.from_bytes(data[pos:pos + 4], "big")
        kind = data[pos + 4:pos + 8]
        if kind == b"IDAT":
            idat += data[pos + 8:pos + 8 + length]
        pos += 12 + length
    return zlib.decompress(idat)


# The walk: the menu from the MENU button, the name panel confirmed, the help panel, the About
# box, the high-score panel. Positions are the layout's.
LABELS = ["welcomelbl", "namelabel", "clickhere", "Label18", "lblstage", "levelup", "lblsetlevel"]
BUTTONS = ["dxButton3", "dxButton4", "helpbutton2", "hscoreclose", "dxButton1"]


def walk(driver, env, shots):
    cmds = ["start", "click 730 560", "key 13"]
    cmds += [f"control {n}" for n in LABELS]
    cmds += [f"textsize {n}" for n in BUTTONS]
    cmds += [f"shot {shots}/menu.png", "click 400 410", "control helppanel",
             f"shot {shots}/help.png", "key 13", "click 400 230", "control Scorepanel",
             f"shot {shots}/scores.png", "key 13", "click 400 470", "control AboutBox",
             "click 280 460", "control AboutBox", "click 380 88", "key 8", "key 8", "key 8",
             "text Ölaf Ž", "key 13",
             "control namelabel", "control name1", "errors"]
    lines, home = run(driver, cmds, env)
    return lines


def check_language(driver, lang, env, english, shots):
    lines = walk(driver, env, shots)
    if not lines or lines[0] != "started":
        fail(lang, f"did not start: {lines[:1]}")
        return None
    by = {}
    for line in lines[1:]:
        name = line.split(" ", 1)[0]
        by.setdefault(name, []).append(line)
    labels = {n: fields(by[n][0]) for n in LABELS}

    def right(n):
        return int(labels[n]["left"]) + int(labels[n]["width"])

    # Labels sized to their text must not run into their neighbours or off their dark band.
    if right("welcomelbl") > int(labels["namelabel"]["left"]) - 4:
        fail(lang, f"greeting '{labels['welcomelbl']['caption']}' runs into the name")
    if right("Label18") > int(labels["lblstage"]["left"]) - 2:
        fail(lang, f"'{labels['Label18']['caption']}' runs into the stage number")
    if right("levelup") > int(labels["lblsetlevel"]["left"]) - 2:
        fail(lang, f"'{labels['levelup']['caption']}' runs into the level banner's number")
    if right("clickhere") > 558:
        fail(lang, f"'{labels['clickhere']['caption']}' leaves the greeting's band")
    # Push buttons: the caption inside the face.
    for n in BUTTONS:
        parts = dict(p.split("=") for p in by[n][0].split()[1:])
        tw, th = map(int, parts["text"].split("x"))
        bw, bh = map(int, parts["box"].split("x"))
        if tw > bw - 8 or th > bh:
            fail(lang, f"caption of {n} ({tw}x{th}) overflows its {bw}x{bh} face")
    # The walk reached every panel.
    if "visible=1" not in by.get("helppanel", [""])[0]:
        fail(lang, "the help panel did not open")
    if "visible=1" not in by.get("Scorepanel", [""])[0]:
        fail(lang, "the high-score panel did not open")
    about = by.get("AboutBox", ["", ""])
    if "showing=1" not in about[0] or "showing=0" not in about[1]:
        fail(lang, "the About box did not open and close")
    # Player names stay as typed; the table's names are players' names too.
    names = by.get("namelabel", [])
    if len(names) < 2 or fields(names[-1])["caption"] != "Ölaf Ž":
        fail(lang, f"the typed name changed: {names[-1:]}")
    if fields(by["name1"][0])["caption"] != "Tivane":
        fail(lang, "a high-score name was translated")
    if by.get("errors:", ["errors:"])[0] != "errors:":
        fail(lang, f"errors on the walk: {by['errors:']}")
    captions = {n: labels[n]["caption"] for n in LABELS}
    if english is not None:
        # Another language: the captions and the pictures with words are its own.
        for n in ("welcomelbl", "clickhere", "Label18", "levelup"):
            if captions[n] == english["captions"][n] and (lang, n) not in SAME_WORD:
                fail(lang, f"{n} is still English: '{captions[n]}'")
        for shot in ("menu", "help", "scores"):
            if png_pixels(f"{shots}/{shot}.png") == english[shot]:
                fail(lang, f"the {shot} shows the English pictures")
    return {"captions": captions,
            **{s: png_pixels(f"{shots}/{s}.png") for s in ("menu", "help", "scores")}}


def main():
    driver = sys.argv[1]
    keep = sys.argv[3] if len(sys.argv) > 3 and sys.argv[2] == "--shots" else None
    work = tempfile.mkdtemp(dir=SCRATCH.name)
    english = check_language(driver, "C", {"LC_ALL": "C", "LANGUAGE": "de"}, None, work)
    if english is None:
        print("\n".join(failures))
        return 1
    expected = {"welcomelbl": "Welcome,", "clickhere": "Click to change user", "Label18": "level:",
                "levelup": "Level:"}
    for n, text in expected.items():
        if english["captions"][n] != text:
            fail("C", f"{n} reads '{english['captions'][n]}', not '{text}'")
    for lang in LANGUAGES:
        shots = os.path.join(work, lang)
        os.makedirs(shots, exist_ok=True)
        check_language(driver, lang, {"LANGUAGE": lang}, english, shots)
        if keep:
            for s in ("menu", "help"):
                os.replace(f"{shots}/{s}.png", os.path.join(keep, f"{lang}-{s}.png"))

    # The choice of language: the desktop's variables in their order, and the setting over all.
    def greeting(env, ini="[Settings]\nFirst=0\nName=Ana\n"):
        lines, _ = run(driver, ["start", "control welcomelbl"], env, ini)
        return fields(lines[1])["caption"] if len(lines) > 1 else "?"

    de, ru, fr = "Hallo,", "Привет,", "Salut,"
    cases = [
        ({"LANG": "de_DE.UTF-8"}, None, de),
        ({"LC_MESSAGES": "ru_RU.UTF-8", "LANG": "de_DE.UTF-8"}, None, ru),
        ({"LANGUAGE": "xx:fr", "LANG": "de_DE.UTF-8"}, None, fr),
        ({"LANGUAGE": "de", "LC_ALL": "C"}, None, "Welcome,"),
        ({"LANG": "sv_SE.UTF-8"}, None, "Welcome,"),
        ({"LC_ALL": "C"}, "[Settings]\nFirst=0\nLanguage=ru\n", ru),
        ({"LANGUAGE": "de"}, "[Settings]\nFirst=0\nLanguage=en\n", "Welcome,"),
        ({"LANGUAGE": "de"}, "[Settings]\nFirst=0\nLanguage=klingon\n", de),
    ]
    for env, ini, want in cases:
        got = greeting(env, ini) if ini else greeting(env)
        if got != want:
            fail("choice", f"{env} {ini!r} greets with '{got}', not '{want}'")
    print("\n".join(failures) if failures else "every language walked, every caption fits")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
