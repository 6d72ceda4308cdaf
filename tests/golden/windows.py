#!/usr/bin/env python3
"""Cuts a long trace down to what a golden stores: the lines of the ticks inside the keys file's
   '# window: FROM TO' lines (inclusive, any number of them), and a sha256 of every block of
   DIGEST_BLOCK ticks of the whole trace, so that a change outside the windows still fails and
   says roughly where it starts.
   windows.py KEYS TRACE.jsonl OUT.jsonl OUT.digests"""
import hashlib
import re
import sys

DIGEST_BLOCK = 1000

keys, trace, out_lines, out_digests = sys.argv[1:5]
windows = []
for line in open(keys):
    m = re.match(r"#\s*window:\s*(\d+)\s+(\d+)", line)
    if m:
        windows.append((int(m.group(1)), int(m.group(2))))
tick_re = re.compile(rb'^\{"tick":(\d+)[,}]')
digests = []
block = None
with open(trace, "rb") as f, open(out_lines, "wb") as kept:
    for line in f:
        tick = int(tick_re.match(line).group(1))
        first = (tick - 1) // DIGEST_BLOCK * DIGEST_BLOCK + 1
        if block is None or block[0] != first:
            block = [first, tick, hashlib.sha256()]
            digests.append(block)
        block[1] = tick
        block[2].update(line)
        if any(a <= tick <= b for a, b in windows):
            kept.write(line)
with open(out_digests, "w") as f:
    for first, last, h in digests:
        f.write(f"{first} {last} {h.hexdigest()}\n")
