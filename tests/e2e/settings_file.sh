#!/bin/bash
# A settings file with mistakes in the real window (Xvfb with openbox): the game starts all the
# same, each bad line named on stderr with what is wrong, and each bad entry at the game's own
# value (fullscreen = maybe: full screen, as the game is made); the good entry beside them (K as
# an extra bomb key) works as the game's own bomb key does: pressed in play, a bomb goes off
# (the game's state at its end, VORNE_STATE_AT_EXIT).
#
# Usage: settings_file.sh VORNE_BINARY DATA_DIR. Exit 77 (skipped) without Xvfb, openbox,
# xdotool or xprop.
set -u
VORNE=$1
DATA=$2
. "$(dirname "$0")/xvfb_lib.bash"

e2e_require Xvfb openbox xdotool xprop
e2e_start_xvfb 1600x1200
e2e_start_wm
e2e_copy_data "$DATA"
export HOME=$E2E_WORK/home XDG_CONFIG_HOME=$E2E_WORK/home/config VORNE_STATE_AT_EXIT=$E2E_WORK/state.json
mkdir -p "$XDG_CONFIG_HOME/vorne"
cat >"$XDG_CONFIG_HOME/vorne/vorne.ini" <<'INI'
[window]
fullscreen = maybe
[sound]
music = loud
[keys]
bomb = K
shot = Escape
this is not an entry
INI

e2e_start_game "$VORNE" --keyboard
for _ in $(seq 60); do
    e2e_window_size
    [ "$WIDTH" = 1600 ] && [ "$HEIGHT" = 1200 ] && break
    sleep 0.05
done
[ "$WIDTH" = 1600 ] && [ "$HEIGHT" = 1200 ] || e2e_fail "the window is ${WIDTH}x$HEIGHT, not the full screen the game starts in"
ini="$XDG_CONFIG_HOME/vorne/vorne.ini"
for expected in "$ini: line 2: fullscreen takes yes or no, not 'maybe'" \
                "$ini: line 4: music takes a whole number from 0 to 100, not 'loud'" \
                "$ini: line 7: shot: 'Escape' is kept" \
                "$ini: line 8: neither"; do
    grep -qF "$expected" "$E2E_WORK/game.log" || e2e_fail "no message: $expected"
done

e2e_start_playing
e2e_hold k
sleep 0.3
e2e_hold alt+F4
e2e_expect_exit 0 "closing the window"
[ "$(e2e_state_field g_playing)" = 1 ] && [ "$(e2e_state_field g_bombs)" = 1 ] ||
    e2e_fail "K did not bomb (g_playing $(e2e_state_field g_playing), g_bombs $(e2e_state_field g_bombs))"
echo "settings_file: bad entries named and left at the game's values, the good one (K bombs) applied"
