#!/bin/bash
# Window and full screen in the real window (Xvfb, openbox): F11 and Alt+Enter switch both ways,
# the window coming back at its size and place, and Alt+Enter never bombs, whichever key is let go
# first (the bombs read from VORNE_STATE_AT_EXIT). Then a vorne.ini with mistakes: each bad line
# named, each bad entry at the game's own value, and the good one (K as a bomb key) bombs.
. "$(dirname "$0")/xvfb_lib.bash"
e2e_setup 1600x1200 wm
export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/home/config VORNE_STATE_AT_EXIT=$WORK/state.json
unset XDG_DATA_HOME
bombs_at_exit() {  # from the state the game wrote at its end
    field() { grep -o "\"$1\":-\?[0-9]*" "$WORK/state.json" 2>/dev/null | head -1 | cut -d: -f2; }
    playing=$(field g_playing) bombs=$(field g_bombs) phase=$(field g_bombPhase)
    [ "$playing" = 1 ] || fail "the game was not in play (g_playing $playing): the bomb check would prove nothing"
}

e2e_start_game --keyboard --windowed
e2e_wait_size 1280 960 "the window at its start"
place="$X $Y"
e2e_hold F11
e2e_wait_size 1600 1200 "F11 from the window"
e2e_hold F11
e2e_wait_size 1280 960 "F11 from full screen"
[ "$X $Y" = "$place" ] || fail "the window came back at $X $Y, not at $place"

e2e_start_playing
# Alt+Enter with Return held for a good many ticks, Return let go first.
xdotool keydown alt keydown Return
sleep 0.4
xdotool keyup Return keyup alt
e2e_wait_size 1600 1200 "Alt+Enter from the window"
sleep 0.3
# And with Alt let go first: Return stays held back until it is let go.
xdotool keydown alt keydown Return
sleep 0.1
xdotool keyup alt
sleep 0.4
xdotool keyup Return
e2e_wait_size 1280 960 "Alt+Enter from full screen"
[ "$X $Y" = "$place" ] || fail "the window came back at $X $Y after Alt+Enter, not at $place"
sleep 0.3
e2e_hold alt+F4
e2e_expect_exit 0 "closing the window"
bombs_at_exit
[ "$bombs" = 2 ] && [ "$phase" = 0 ] || fail "Alt+Enter dropped a bomb (g_bombs $bombs, g_bombPhase $phase)"

ini=$XDG_CONFIG_HOME/vorne/vorne.ini
mkdir -p "$XDG_CONFIG_HOME/vorne"
printf '%s\n' '[window]' 'fullscreen = maybe' '[sound]' 'music = loud' '[keys]' 'bomb = K' 'shot = Escape' \
    'this is not an entry' >"$ini"
rm -f "$WORK/state.json"
e2e_start_game --keyboard
e2e_wait_size 1600 1200 "fullscreen = maybe"
for expected in "line 2: fullscreen takes yes or no, not 'maybe'" "line 4: music takes a whole number from 0 to 100, not 'loud'" \
                "line 7: shot: 'Escape' is kept" "line 8: neither"; do
    grep -qF "$ini: $expected" "$WORK/game.log" || fail "no message: $ini: $expected"
done
e2e_start_playing
e2e_hold k
sleep 0.3
e2e_hold alt+F4
e2e_expect_exit 0 "closing the window"
bombs_at_exit
[ "$bombs" = 1 ] || fail "K from vorne.ini did not bomb (g_bombs $bombs)"
echo "window_toggle: F11 and Alt+Enter switched window <-> full screen and back in place, Alt+Enter dropped no bomb; bad settings named, K bombed"
