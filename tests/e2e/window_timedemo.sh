#!/bin/bash
# The timedemo in a real window (Xvfb, no window manager, so --windowed): a live game recorded by
# the headless runner is played back as fast as the window takes its frames, to the end of its
# game; the program then reports its frames per second, well above the game's own 34, and the
# very score and frame count the headless replay check reaches, and ends with status 0.
#
# Usage: window_timedemo.sh VORNE_BINARY DATA_DIR. Exit 77 (skipped) without Xvfb or xdotool.
set -u
VORNE=$1
DATA=$2
. "$(dirname "$0")/xvfb_lib.bash"

e2e_require Xvfb xdotool
e2e_start_xvfb 1600x1200
e2e_copy_data "$DATA"
cd "$E2E_WORK/data"
rm -f score.dat replay.rep
echo "1 z" >game.keys
"$VORNE" --headless --keys game.keys --ticks 2500 >/dev/null 2>&1 || e2e_fail "the live game could not be played"
[ -f replay.rep ] || e2e_fail "the live game left no replay"
"$VORNE" --headless --verify-replay >verify.txt 2>&1 || e2e_fail "the replay does not verify: $(cat verify.txt)"
expected=$(sed -n 's/^replay.rep: score \([0-9]*\) after \([0-9]*\) game frames.*/score \1 after \2 game frames/p' verify.txt)
[ -n "$expected" ] || e2e_fail "no score in: $(cat verify.txt)"

e2e_start_game "$VORNE" --timedemo --windowed
e2e_expect_exit 0 "the timedemo"
report=$(cat "$E2E_WORK/game.log")
echo "$report" | grep -q "^timedemo: $expected$" || e2e_fail "the timedemo did not reach '$expected': $report"
fps=$(echo "$report" | sed -n 's/^timedemo: [0-9]* frames in [0-9.]* s: \([0-9]*\)\..* frames per second.*/\1/p')
[ -n "$fps" ] && [ "$fps" -gt 34 ] || e2e_fail "the timedemo ran at '$fps' frames per second: $report"
echo "window_timedemo: $(echo "$report" | head -1); $expected, as the replay check"
