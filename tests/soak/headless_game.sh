#!/usr/bin/env bash
# A long headless game (CTest label "long"): the golden whole game and more games on its held keys,
# 108000 ticks (an hour of play), trace, draw log and state written and the records saved on the
# way; in the sanitizer build any ASan or UBSan report fails it.
#
# Usage: headless_game.sh VORNE DATA_DIR SOURCE_DIR [TICKS]
. "$(dirname "$0")/../lib.bash"
vorne=$(realpath "$1")
src=$(realpath "$3")
ticks=${4:-108000}
link_data "$(realpath "$2")" "$WORK"
# A stored score of 1: the first continue screen saves the score and the replay.
printf '\001\000\000\000' >"$WORK/score.dat"

start=$SECONDS
(cd "$WORK" && ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}halt_on_error=1" \
    "$vorne" --headless --keys "$src/tests/golden/whole_game.keys" --ticks "$ticks" \
    --trace /dev/null --draw-log /dev/null --state state.json) >"$WORK/out.log" 2>&1
status=$?
if [ "$status" != 0 ] || grep -qE 'runtime error|AddressSanitizer|LeakSanitizer' "$WORK/out.log"; then
    head -n 60 "$WORK/out.log"
    fail "the $ticks-tick game ended with status $status or a sanitizer report"
fi
score=$(od -A n -t d4 "$WORK/score.dat" | tr -d ' ')
replay=$(stat -c %s "$WORK/replay.rep" 2>/dev/null || echo 0)
[ "$score" -gt 1 ] && [ "$replay" -gt 4 ] || fail "no new high score and replay were saved"
ls "$WORK" | grep -qE '\.new$|records\.commit' && fail "a save left a temporary behind"
python3 -c 'import json, sys; json.load(open(sys.argv[1]))' "$WORK/state.json" 2>/dev/null ||
    fail "the state dump is missing or not JSON"
echo "headless_game: $ticks ticks in $((SECONDS - start)) s, no report; saved a high score of $score with a replay of $(((replay - 4) / 7)) frames"
