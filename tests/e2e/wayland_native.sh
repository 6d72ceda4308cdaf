#!/bin/bash
# The game on SDL's own Wayland driver with no X server anywhere: weston's headless back-end,
# with a keyboard of the test's own (the weston module built from weston_keys.c), DISPLAY unset.
# The game starts and draws (F12 on the splash saves the very picture of the headless runner's
# shot), plays (the shot starts a game and takes a ship: the first ESC then only leaves the game,
# the game still runs), and the second ESC, on the splash, ends it with status 0.
#
# Usage: wayland_native.sh VORNE_BINARY DATA_DIR. Exit 77 (skipped) without weston or without
# the keyboard module (libweston's headers were missing at build time).
set -u
VORNE=$1
DATA=$2
. "$(dirname "$0")/xvfb_lib.bash"

MODULE=$(dirname "$VORNE")/vorne_weston_keys.so
e2e_require weston
[ -f "$MODULE" ] || e2e_skip "no keyboard module for weston ($MODULE): libweston-10-dev was missing"
unset DISPLAY
export XDG_RUNTIME_DIR=$E2E_WORK/runtime HOME=$E2E_WORK/home
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkfifo "$E2E_WORK/keys"
export WAYLAND_DISPLAY=vorne-test
VORNE_WESTON_KEYS=$E2E_WORK/keys weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" \
    --idle-time=0 --no-config --modules="$MODULE" >"$E2E_WORK/weston.log" 2>&1 &
E2E_XVFB=$!  # stopped by the clean-up like the X server of the other tests
for _ in $(seq 100); do
    [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] && break
    kill -0 "$E2E_XVFB" 2>/dev/null || { cat "$E2E_WORK/weston.log"; e2e_fail "weston did not start"; }
    sleep 0.05
done
[ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] || e2e_fail "weston made no socket"
exec 4>"$E2E_WORK/keys"
press() {  # press CODE [SECONDS]: holds the key (a Linux input key code) for a while
    echo "down $1" >&4
    sleep "${2:-0.1}"
    echo "up $1" >&4
}
KEY_ESC=1 KEY_Z=44 KEY_F12=88

e2e_copy_data "$DATA"
(cd "$E2E_WORK/data" && "$VORNE" --headless --ticks 30 --shot "30:$E2E_WORK/shot.png") >/dev/null 2>&1 ||
    e2e_fail "the headless runner could not take the reference shot"
(cd "$E2E_WORK/data" && SDL_VIDEODRIVER=wayland SDL_AUDIODRIVER=dummy \
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" exec "$VORNE" --keyboard) >"$E2E_WORK/game.log" 2>&1 &
E2E_GAME=$!
sleep 0.8  # the window mapped and given the keyboard, the first ticks of the splash drawn
kill -0 "$E2E_GAME" 2>/dev/null || e2e_fail "the game ended at its start"
press $KEY_F12
shots=$XDG_RUNTIME_DIR/none
for _ in $(seq 40); do
    shots=$(ls "$HOME"/.local/share/vorne/screenshots/*.png 2>/dev/null | head -1)
    [ -n "$shots" ] && break
    sleep 0.05
done
[ -n "$shots" ] || e2e_fail "F12 saved no screenshot"
cmp -s "$shots" "$E2E_WORK/shot.png" || e2e_fail "the screen under Wayland is not the headless runner's splash"

press $KEY_Z 2.4  # held through the splash: starts the game on the title
sleep 1.5
press $KEY_Z      # takes ship A
sleep 1.5
press $KEY_ESC    # leaves the game for the splash...
sleep 0.8
kill -0 "$E2E_GAME" 2>/dev/null || e2e_fail "ESC ended the program: the game was not being played"
press $KEY_ESC    # ...where ESC ends the program
e2e_expect_exit 0 "ESC on the splash"
grep -q "X11\|XOpenDisplay" "$E2E_WORK/game.log" && e2e_fail "the game reached for X"
echo "wayland_native: drawn, played and ended with ESC under weston's headless back-end, no X server"
