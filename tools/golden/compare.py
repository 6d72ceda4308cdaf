#!/usr/bin/env python3
"""Compares two traces key by key and tells which keys differ, and from which tick on.
   compare.py OLD.jsonl NEW.jsonl [--ignore KEY,KEY]"""
import json
import sys

old = [json.loads(line) for line in open(sys.argv[1])]
new = [json.loads(line) for line in open(sys.argv[2])]
ignore = set(sys.argv[4].split(",")) if len(sys.argv) > 4 and sys.argv[3] == "--ignore" else set()
first = {}
for a, b in zip(old, new):
    for key in set(a) | set(b):
        if key not in ignore and a.get(key) != b.get(key) and key not in first:
            first[key] = a.get("tick")
if len(old) != len(new):
    print(f"lengths differ: {len(old)} and {len(new)} ticks")
for key, tick in sorted(first.items(), key=lambda kv: kv[1]):
    print(f"{key}: differs from tick {tick}")
sys.exit(1 if first or len(old) != len(new) else 0)
