#!/bin/bash
# F11 and Alt+Enter in the real window (Xvfb with openbox): each switches between the window and
# desktop full screen, the window coming back at its size and place; and Alt+Enter is never the
# bomb key Return, whether Alt or Return is let go first. The game's state at its end
# (VORNE_STATE_AT_EXIT) shows the bombs; a second game, where Return is pressed alone, shows that
# the check sees a bomb when there is one.
#
# Usage: window_toggle.sh VORNE_BINARY DATA_DIR. Exit 77 (skipped) without Xvfb, openbox,
# xdotool or xprop.
set -u
VORNE=$1
DATA=$2
. "$(dirname "$0")/xvfb_lib.bash"

e2e_require Xvfb openbox xdotool xprop
e2e_start_xvfb 1600x1200
e2e_start_wm
e2e_copy_data "$DATA"

# wait_size W H WHAT: the window reaches W x H within 3 s.
wait_size() {
    local _
    for _ in $(seq 60); do
        e2e_window_size
        [ "$WIDTH" = "$1" ] && [ "$HEIGHT" = "$2" ] && return 0
        sleep 0.05
    done
    e2e_fail "$3: the window is ${WIDTH}x$HEIGHT, not $1x$2"
}

bombs_at_exit() {
    echo "$(e2e_state_field g_playing) $(e2e_state_field g_bombs) $(e2e_state_field g_bombPhase)"
}

export VORNE_STATE_AT_EXIT=$E2E_WORK/state.json
e2e_start_game "$VORNE" --keyboard --windowed
wait_size 1280 960 "the window at its start"
e2e_window_size
place="$X $Y"

e2e_hold F11
wait_size 1600 1200 "F11 from the window"
e2e_hold F11
wait_size 1280 960 "F11 from full screen"
e2e_window_size
[ "$X $Y" = "$place" ] || e2e_fail "the window came back at $X $Y, not at $place"

e2e_start_playing
# Alt+Enter with Return held for a good many ticks, Return let go first.
xdotool keydown alt keydown Return
sleep 0.4
xdotool keyup Return keyup alt
wait_size 1600 1200 "Alt+Enter from the window"
sleep 0.3
# And with Alt let go first: Return stays held back until it is let go.
xdotool keydown alt keydown Return
sleep 0.1
xdotool keyup alt
sleep 0.4
xdotool keyup Return
wait_size 1280 960 "Alt+Enter from full screen"
e2e_window_size
[ "$X $Y" = "$place" ] || e2e_fail "the window came back at $X $Y after Alt+Enter, not at $place"
sleep 0.3
e2e_hold alt+F4
e2e_expect_exit 0 "closing the window"
read -r playing bombs phase <<<"$(bombs_at_exit)"
[ "$playing" = 1 ] || e2e_fail "the game was not in play (g_playing $playing): the bomb check would prove nothing"
[ "$bombs" = 2 ] && [ "$phase" = 0 ] || e2e_fail "Alt+Enter dropped a bomb (g_bombs $bombs, g_bombPhase $phase)"

# The same game with Return alone: a bomb, which the same check sees.
rm -f "$E2E_WORK/state.json"
e2e_start_game "$VORNE" --keyboard --windowed
e2e_start_playing
e2e_hold Return
sleep 0.3
e2e_hold alt+F4
e2e_expect_exit 0 "closing the window"
read -r playing bombs phase <<<"$(bombs_at_exit)"
[ "$playing" = 1 ] && [ "$bombs" = 1 ] || e2e_fail "Return alone did not drop a bomb (g_playing $playing, g_bombs $bombs)"
echo "window_toggle: F11 and Alt+Enter switched window <-> full screen and back in place; Alt+Enter dropped no bomb"
