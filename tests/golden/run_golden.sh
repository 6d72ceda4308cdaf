#!/usr/bin/env bash
# Plays one golden keys script in the headless runner and compares the trace with the stored one.
#   run_golden.sh VORNE DATA_DIR NAME.keys [--bless]
# The keys file says how long to run on a line '# ticks: N'. A line '# setup: watch-replay FILE'
# runs the watched replay of FILE (relative to the keys file) instead of playing the keys.
# Lines '# window: FROM TO' (any number) keep a long run small: the stored NAME.jsonl then holds
# only the ticks inside the windows, and NAME.digests a sha256 of every block of 1000 ticks of
# the whole trace (see windows.py). --bless stores the new trace instead (tools/golden/bless.sh).
. "$(dirname "$0")/../lib.bash"
set -eo pipefail
vorne=$(realpath "$1")
dir=$(cd "$(dirname "$3")" && pwd)
name=$(basename "$3" .keys)
keys=$dir/$name.keys
expected=$dir/$name.jsonl
digests=$dir/$name.digests
ticks=$(sed -n 's/^# ticks: *\([0-9]*\).*/\1/p' "$keys" | head -n 1)
[ -n "$ticks" ] || { echo "$keys: no '# ticks: N' line" >&2; exit 2; }
link_data "$(realpath "$2")" "$WORK"

args=(--headless --ticks "$ticks" --trace "$WORK/trace.jsonl")
replay=$(sed -n 's/^# setup: watch-replay *\(.*\)$/\1/p' "$keys" | head -n 1)
if [ -n "$replay" ]; then
    cp "$dir/$replay" "$WORK/replay.rep"
    args+=(--watch-replay)
else
    args+=(--keys "$keys")
fi
(cd "$WORK" && "$vorne" "${args[@]}")
windowed=
if grep -q '^# window:' "$keys"; then
    windowed=1
    mv "$WORK/trace.jsonl" "$WORK/full.jsonl"
    python3 "$dir/windows.py" "$keys" "$WORK/full.jsonl" "$WORK/trace.jsonl" "$WORK/trace.digests"
fi

if [ "${4:-}" = --bless ]; then
    cp "$WORK/trace.jsonl" "$expected"
    [ -z "$windowed" ] || cp "$WORK/trace.digests" "$digests"
    echo "blessed $expected"
    exit 0
fi
[ -f "$expected" ] || { echo "no stored trace $expected (run tools/golden/bless.sh)" >&2; exit 1; }
if ! cmp -s "$WORK/trace.jsonl" "$expected"; then
    echo "trace differs from $expected; first difference:" >&2
    diff "$expected" "$WORK/trace.jsonl" | head -n 6 | cut -c 1-400 >&2
    exit 1
fi
if [ -n "$windowed" ]; then
    [ -f "$digests" ] || { echo "no stored digests $digests (run tools/golden/bless.sh)" >&2; exit 1; }
    if ! cmp -s "$WORK/trace.digests" "$digests"; then
        echo "the trace outside the windows differs from the one blessed; first block that differs:" >&2
        diff "$digests" "$WORK/trace.digests" | sed -n 's/^> \([0-9]*\) \([0-9]*\) .*/ticks \1 to \2/p' | head -n 1 >&2
        exit 1
    fi
    echo "$name: $(wc -l <"$expected") ticks in windows and $(wc -l <"$digests") blocks of the whole run agree"
else
    echo "$name: $(wc -l <"$expected") ticks agree"
fi
