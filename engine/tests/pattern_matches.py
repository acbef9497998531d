#!/usr/bin/env python3
"""What Python's re.search gives for pattern_matches.cpp's samples: the
same output, from the same list and samples file, each sample's bytes
read as Latin-1 characters (as the program reads a user agent), leaving
out the patterns the program refused (given as arguments after the files)."""
import json
import re
import sys

patterns = json.load(open(sys.argv[1], encoding="utf-8"))
refused = {int(n) for n in sys.argv[3:]}
samples = [i.encode("utf-8").decode("latin-1") for p in patterns for i in p.get("instances", [])]
with open(sys.argv[2], "rb") as extra:
    samples += [line.rstrip(b"\n").decode("latin-1") for line in extra]
compiled = [(n, re.compile(p["pattern"])) for n, p in enumerate(patterns) if n not in refused]
out = [f"refused {n}" for n in sorted(refused)]
for s, sample in enumerate(samples):
    out.append(f"{s}:" + "".join(f" {n}" for n, c in compiled if c.search(sample)))
print("\n".join(out))
