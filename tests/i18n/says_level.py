#!/usr/bin/env python3
"""The help page and the web page call a stage of play a "level", as the captions do: no text of
theirs in the translation template says "stage". Usage: says_level.py SOURCE_DIR"""
import re
import sys

template = open(f"{sys.argv[1]}/po/lumcrest.pot", encoding="utf-8").read()
pages = ("assets/forge/help_page.cpp", "assets/forge/web_page.cpp")
bad = [entry for entry in template.split("\n\n")
       if any(page in entry for page in pages) and re.search(r"\bstages?\b", entry, re.I)]
for entry in bad:
    print("says 'stage':", entry.replace("\n", " ")[:160])
print(f"{len(bad)} texts of the pages say 'stage'" if bad else "the pages say 'level'")
sys.exit(1 if bad else 0)
