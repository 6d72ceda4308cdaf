#!/bin/bash
# The real build's resident memory in play, a stage's music under way on the soundfont: under
# 64 MB. Skipped in the sanitizer build and where no General MIDI soundfont is installed.
. "$(dirname "$0")/xvfb_lib.bash"
ldd "$VORNE" | grep -q 'libasan' && skip "a sanitizer build"
[ -f /usr/share/sounds/sf2/TimGM6mb.sf2 ] || [ -f /usr/share/sounds/sf2/default-GM.sf2 ] ||
    skip "no General MIDI soundfont installed"
e2e_setup 1600x1200
e2e_start_game --keyboard --windowed
e2e_start_playing  # the first stage's music starts
sleep 3
peak_kb=$(awk '/^VmHWM:/ {print $2}' "/proc/$E2E_GAME/status")
grep -q 'soundfont' "$WORK/game.log" && fail "the soundfont did not load"
[ -n "$peak_kb" ] || fail "the game's memory could not be read"
echo "window_memory: resident at most $((peak_kb / 1024)) MB"
[ "$peak_kb" -lt $((64 * 1024)) ] || fail "the game's resident memory reached $((peak_kb / 1024)) MB, over 64 MB"
