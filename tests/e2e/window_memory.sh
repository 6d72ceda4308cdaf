#!/bin/bash
# The real SDL build's resident memory while a game is played, music included: a window, the
# soundfont loaded on the synthesiser, a stage with its music under way. It must stay under
# 64 MB. (Skipped for the sanitizer build, whose shadow memory says nothing about the game's,
# and where no General MIDI soundfont is installed.)
#
# Usage: window_memory.sh VORNE_BINARY DATA_DIR. Exit 77 (skipped) without Xvfb or xdotool.
set -u
VORNE=$1
DATA=$2
LIMIT_KB=$((64 * 1024))
. "$(dirname "$0")/xvfb_lib.bash"

e2e_require Xvfb xdotool
ldd "$VORNE" | grep -q 'libasan' && e2e_skip "a sanitizer build"
[ -f /usr/share/sounds/sf2/TimGM6mb.sf2 ] || [ -f /usr/share/sounds/sf2/default-GM.sf2 ] ||
    e2e_skip "no General MIDI soundfont installed"
e2e_start_xvfb 1600x1200
e2e_copy_data "$DATA"

e2e_start_game "$VORNE" --keyboard --windowed
sleep 3      # the splash and the logo
e2e_hold z   # the title: start
sleep 1
e2e_hold z   # the ship: chosen, the first stage's music starts
sleep 4
peak_kb=$(awk '/^VmHWM:/ {print $2}' "/proc/$E2E_GAME/status")
now_kb=$(awk '/^VmRSS:/ {print $2}' "/proc/$E2E_GAME/status")
grep -q 'soundfont' "$E2E_WORK/game.log" && e2e_fail "the soundfont did not load"
[ -n "$peak_kb" ] || e2e_fail "the game's memory could not be read"
echo "window_memory: resident now $((now_kb / 1024)) MB, at most $((peak_kb / 1024)) MB"
[ "$peak_kb" -lt "$LIMIT_KB" ] || e2e_fail "the game's resident memory reached $((peak_kb / 1024)) MB, over 64 MB"
e2e_hold Escape
