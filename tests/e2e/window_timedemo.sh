#!/bin/bash
# The timedemo in a real window (Xvfb, --windowed): a live game recorded by the headless runner,
# played back as fast as the window goes, reports well over the game's own 34 frames per second
# and the very score and frame count the replay check reaches, and ends with 0.
. "$(dirname "$0")/xvfb_lib.bash"
e2e_setup 1600x1200
cd "$WORK/data" || exit 1
echo "1 z" >game.keys
logged live.log "the live game could not be played" "$VORNE" --headless --keys game.keys --ticks 2500
[ -f replay.rep ] || fail "the live game left no replay"
logged verify.txt "the replay does not verify" "$VORNE" --headless --verify-replay
expected=$(sed -n 's/^replay.rep: score \([0-9]*\) after \([0-9]*\) game frames.*/score \1 after \2 game frames/p' verify.txt)
[ -n "$expected" ] || fail "no score in: $(cat verify.txt)"

e2e_start_game --timedemo --windowed
e2e_expect_exit 0 "the timedemo"
grep -q "^timedemo: $expected$" "$WORK/game.log" || fail "the timedemo did not reach '$expected'"
fps=$(sed -n 's/^timedemo: [0-9]* frames in [0-9.]* s: \([0-9]*\)\..* frames per second.*/\1/p' "$WORK/game.log")
[ -n "$fps" ] && [ "$fps" -gt 34 ] || fail "the timedemo ran at '$fps' frames per second"
echo "window_timedemo: $(head -1 "$WORK/game.log"); $expected, as the replay check"
