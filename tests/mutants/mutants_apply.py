#!/usr/bin/env python3
"""Every mutant of mutants.txt still applies: its file exists and its old text occurs there
exactly once, as scripts/mutate.sh needs. Code that moves takes its mutants along.

Usage: mutants_apply.py SOURCE-DIR"""
import os
import sys


def blocks(path):
    """The mutants of the list, each as (line number, file, old text), parsed as mutate.sh does."""
    lines = open(path, encoding="utf-8").read().split("\n")
    out, cur, first = [], [], 0
    for number, line in enumerate(lines + [""], 1):
        if line.startswith("#"):
            continue
        if line.strip() == "":
            if cur:
                old = "\n".join(l[2:] for l in cur[1:] if l.startswith("- "))
                out.append((first, cur[0].strip(), old))
            cur = []
        else:
            if not cur:
                first = number
            cur.append(line)
    return out


def main():
    src = sys.argv[1]
    listing = os.path.join(src, "tests", "mutants", "mutants.txt")
    faults = []
    for line, path, old in blocks(listing):
        target = os.path.join(src, path)
        if not os.path.isfile(target):
            faults.append("line %d: %s does not exist" % (line, path))
            continue
        count = open(target, encoding="utf-8").read().count(old) if old else 0
        if count != 1:
            faults.append("line %d: %s holds its old text %d times: %r" % (line, path, count, old))
    for f in faults:
        print(f, file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
