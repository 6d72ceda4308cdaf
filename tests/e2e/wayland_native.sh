#!/bin/bash
# The game on SDL's own Wayland driver, no X server anywhere: weston's headless back-end with a
# keyboard of our own (weston_keys.c). F12 on the splash saves the headless runner's very shot;
# a game is started and left with ESC, and ESC on the splash ends it with 0. Skipped without
# weston or the keyboard module (libweston's headers were missing at build time).
. "$(dirname "$0")/xvfb_lib.bash"
MODULE=$(dirname "$VORNE")/vorne_weston_keys.so
need weston convert
[ -f "$MODULE" ] || skip "no keyboard module for weston ($MODULE): libweston-10-dev was missing"
unset DISPLAY
export XDG_RUNTIME_DIR=$WORK/runtime HOME=$WORK/home WAYLAND_DISPLAY=vorne-test SDL_VIDEODRIVER=wayland
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkfifo "$WORK/keys"
VORNE_WESTON_KEYS=$WORK/keys weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" \
    --idle-time=0 --no-config --modules="$MODULE" >"$WORK/weston.log" 2>&1 &
BG+=($!)
wait_for 5 test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" || { cat "$WORK/weston.log"; fail "weston made no socket"; }
exec 4>"$WORK/keys"
press() {  # press CODE [SECONDS]: holds the key (a Linux input key code) for a while
    echo "down $1" >&4
    sleep "${2:-0.1}"
    echo "up $1" >&4
}
KEY_ESC=1 KEY_Z=44 KEY_F12=88

cp -r "$DATA" "$WORK/data"
e2e_reference 30 100%
e2e_launch --keyboard
sleep 0.8  # the window mapped and given the keyboard, the first ticks of the splash drawn
kill -0 "$E2E_GAME" 2>/dev/null || fail "the game ended at its start"
press $KEY_F12
saved() { compgen -G "$HOME/.local/share/vorne/screenshots/*.png" >/dev/null; }
wait_for 2 saved || fail "F12 saved no screenshot"
cmp -s "$HOME"/.local/share/vorne/screenshots/*.png "$WORK/shot.png" ||
    fail "the screen under Wayland is not the headless runner's splash"

press $KEY_Z 2.4  # held through the splash: starts the game on the title
sleep 1.5
press $KEY_Z      # takes ship A
sleep 1.5
press $KEY_ESC    # leaves the game for the splash...
sleep 0.8
kill -0 "$E2E_GAME" 2>/dev/null || fail "ESC ended the program: the game was not being played"
press $KEY_ESC    # ...where ESC ends the program
e2e_expect_exit 0 "ESC on the splash"
grep -q "X11\|XOpenDisplay" "$WORK/game.log" && fail "the game reached for X"
echo "wayland_native: drawn, played and ended with ESC under weston's headless back-end, no X server"
