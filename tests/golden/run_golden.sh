#!/usr/bin/env bash
# Plays one golden keys script in the headless runner and compares the trace with the stored one.
#   run_golden.sh VORNE DATA_DIR NAME.keys [--bless]
# The keys file says how long to run on a line '# ticks: N'. A line '# setup: watch-replay FILE'
# runs the watched replay of FILE (relative to the keys file) instead of playing the keys.
# A line '# setup: score N' starts with a score.dat holding N.
# Lines '# window: FROM TO' (any number) keep a long run small: the stored NAME.jsonl then holds
# only the ticks inside the windows, and NAME.digests a sha256 of every block of 1000 ticks of
# the whole trace (see windows.py).
set -euo pipefail
vorne="$1"
data="$2"
keys="$3"
bless="${4:-}"
dir="$(cd "$(dirname "$keys")" && pwd)"
name="$(basename "$keys" .keys)"
keys="$dir/$name.keys"
vorne="$(cd "$(dirname "$vorne")" && pwd)/$(basename "$vorne")"
data="$(cd "$data" && pwd)"
expected="$dir/$name.jsonl"
ticks="$(sed -n 's/^# ticks: *\([0-9]*\).*/\1/p' "$keys" | head -n 1)"
[ -n "$ticks" ] || { echo "$keys: no '# ticks: N' line" >&2; exit 2; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
for f in "$data"/*.dat "$data"/*.mid; do ln -s "$f" "$work/"; done
rm -f "$work/score.dat"

args=(--headless --ticks "$ticks" --trace "$work/trace.jsonl")
replay="$(sed -n 's/^# setup: watch-replay *\(.*\)$/\1/p' "$keys" | head -n 1)"
score="$(sed -n 's/^# setup: score *\([0-9]*\).*/\1/p' "$keys" | head -n 1)"
if [ -n "$replay" ]; then
    cp "$dir/$replay" "$work/replay.rep"
    args+=(--watch-replay)
else
    args+=(--keys "$keys")
fi
if [ -n "$score" ]; then
    python3 -c "import struct,sys; open(sys.argv[1],'wb').write(struct.pack('<i', int(sys.argv[2])))" \
        "$work/score.dat" "$score"
fi
(cd "$work" && "$vorne" "${args[@]}")

digests="$dir/$name.digests"
windowed=""
if grep -q '^# window:' "$keys"; then
    windowed=1
    mv "$work/trace.jsonl" "$work/full.jsonl"
    python3 "$dir/windows.py" "$keys" "$work/full.jsonl" "$work/trace.jsonl" "$work/trace.digests"
fi

if [ "$bless" = "--bless" ]; then
    cp "$work/trace.jsonl" "$expected"
    [ -z "$windowed" ] || cp "$work/trace.digests" "$digests"
    echo "blessed $expected"
    exit 0
fi
[ -f "$expected" ] || { echo "no stored trace $expected (run tests/golden/bless.sh)" >&2; exit 1; }
if ! cmp -s "$work/trace.jsonl" "$expected"; then
    echo "trace differs from $expected; first difference:" >&2
    diff <(cat "$expected") <(cat "$work/trace.jsonl") | head -n 6 | cut -c 1-400 >&2
    exit 1
fi
if [ -n "$windowed" ]; then
    [ -f "$digests" ] || { echo "no stored digests $digests (run tests/golden/bless.sh)" >&2; exit 1; }
    if ! cmp -s "$work/trace.digests" "$digests"; then
        echo "the trace outside the windows differs from the one blessed; first block that differs:" >&2
        diff "$digests" "$work/trace.digests" | sed -n 's/^> \([0-9]*\) \([0-9]*\) .*/ticks \1 to \2/p' | head -n 1 >&2
        exit 1
    fi
    echo "$name: $(wc -l < "$expected") ticks in windows and $(wc -l < "$digests") blocks of the whole run agree"
    exit 0
fi
echo "$name: $(wc -l < "$expected") ticks agree"
