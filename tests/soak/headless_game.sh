#!/usr/bin/env bash
# A long headless game: the golden whole game (fire and bomb held, every continue taken, played to
# the ending) and then more games on the same held keys, 108000 ticks in all (an hour of play),
# with its trace, draw log and state written and the records saved on the way. In the sanitizer
# build any report of ASan or UBSan ends it with a failure. A long test (CTest label "long"):
#   ctest --test-dir build-asan -L long --output-on-failure
#
# Usage: headless_game.sh VORNE DATA_DIR SOURCE_DIR [TICKS]
set -u
vorne=$(realpath "$1")
data=$(realpath "$2")
src=$(realpath "$3")
ticks=${4:-108000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for f in "$data"/*.dat "$data"/*.mid; do ln -s "$f" "$work/"; done
rm -f "$work/score.dat" "$work/replay.rep"
# A stored score of 1: the first continue screen saves the score and the replay.
printf '\001\000\000\000' >"$work/score.dat"

start=$SECONDS
(cd "$work" && ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}halt_on_error=1" \
    "$vorne" --headless --keys "$src/tests/golden/whole_game.keys" --ticks "$ticks" \
    --trace /dev/null --draw-log /dev/null --state state.json) >"$work/out.log" 2>&1
status=$?
seconds=$((SECONDS - start))
if [ "$status" != 0 ] || grep -qE 'runtime error|AddressSanitizer|LeakSanitizer' "$work/out.log"; then
    head -n 60 "$work/out.log"
    echo "FAIL: the $ticks-tick game ended with status $status or a sanitizer report"
    exit 1
fi
score=$(od -A n -t d4 "$work/score.dat" | tr -d ' ')
replay=$(stat -c %s "$work/replay.rep" 2>/dev/null || echo 0)
[ "$score" -gt 1 ] && [ "$replay" -gt 4 ] || { echo "FAIL: no new high score and replay were saved"; exit 1; }
ls "$work" | grep -qE '\.new$|records\.commit' && { echo "FAIL: a save left a temporary behind"; exit 1; }
python3 -c 'import json, sys; json.load(open(sys.argv[1]))' "$work/state.json" 2>/dev/null ||
    { echo "FAIL: the state dump is missing or not JSON"; exit 1; }
echo "headless_game: $ticks ticks in $seconds s, no report; saved a high score of $score with a replay of $(((replay - 4) / 7)) frames"
