#!/bin/bash
# With a window manager (openbox; skipped without it): closing the dialog from the window manager
# (Alt+F4) acts as quit, and minimising the game shows "VORNEを強制終了します。" in a message box
# whose OK ends the program with status 0.
. "$(dirname "$0")/dialog_common.inc"
command -v openbox >/dev/null 2>&1 || skip "openbox is not installed"

openbox >/dev/null 2>&1 &
WM_PID=$!
trap 'kill "$WM_PID" 2>/dev/null; cleanup' EXIT
# Openbox names itself on the root window early in its start, but a window mapped before it has
# finished starting may never be managed (nor shown); its client list comes at the end of the
# start, and a moment more makes sure.
for _ in $(seq 50); do xprop -root _NET_CLIENT_LIST 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done
sleep 0.5

start_vorne
wait_for_dialog
# The window manager only closes the window it has focused, and on a busy machine it may take a
# while to adopt a new window; so wait for the focus, and try again if the first Alt+F4 went nowhere.
for attempt in 1 2 3; do
    for _ in $(seq 50); do
        xdotool windowactivate "$DIALOG" 2>/dev/null
        [ "$(xdotool getactivewindow 2>/dev/null)" = "$DIALOG" ] && break
        sleep 0.1
    done
    xdotool key alt+F4
    wait_vorne 5
    [ "$STATUS" = running ] || break
    note "attempt $attempt: the dialog is still open, trying again"
done
[ "$STATUS" = 0 ] || fail "closing the dialog should act as quit (status 0), got $STATUS"
note "the window manager's close: quit, status 0"

start_vorne --keyboard
GAME=
for _ in $(seq 300); do
    GAME=$(visible_windows | head -1)
    [ -n "$GAME" ] && break
    sleep 0.1
done
[ -n "$GAME" ] || fail "no game window with --keyboard"
sleep 1
xdotool windowminimize "$GAME"
BOX=
for _ in $(seq 100); do
    BOX=$(visible_windows | grep -vx "$GAME" | head -1)
    [ -n "$BOX" ] && break
    sleep 0.1
done
[ -n "$BOX" ] || fail "no message box after minimising the game"
sleep 0.3
if [ -n "$REF_FONT" ]; then
    box_text_matches "$BOX" "VORNEを強制終了します。" || fail "the message box does not show the minimise message"
fi
click_box_ok "$BOX"
wait_vorne 5
[ "$STATUS" = 0 ] || fail "after the minimise message the program should end with status 0, got $STATUS"
note "minimised: the message, then status 0"
echo PASS
