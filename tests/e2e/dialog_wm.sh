#!/bin/bash
# With openbox: Alt+F4 on the dialog acts as quit; the keyboard button starts the game, whose
# window draws (left as dialog_then_game.png), and minimising it shows "VORNEを強制終了します。"
# in a message box whose OK ends the program with 0.
. "$(dirname "$0")/xvfb_lib.bash"
e2e_setup 1024x768 wm
e2e_start_dialog
# The window manager only closes the window it has focused, and on a busy machine it may take a
# while to adopt a new window; so wait for the focus, and try again if the first Alt+F4 went nowhere.
for attempt in 1 2 3; do
    for _ in $(seq 50); do
        xdotool windowactivate "$E2E_WID" 2>/dev/null
        [ "$(xdotool getactivewindow 2>/dev/null)" = "$E2E_WID" ] && break
        sleep 0.1
    done
    xdotool key alt+F4
    e2e_wait_exit 5
    [ "$STATUS" = running ] || break
    note "attempt $attempt: the dialog is still open, trying again"
done
[ "$STATUS" = 0 ] || fail "closing the dialog should act as quit (status 0), got $STATUS"

e2e_start_dialog
click_button 25
e2e_wait_gone "$E2E_WID" 10 || fail "the dialog stays after the keyboard button"
e2e_wait_other 15 || fail "no game window after the keyboard button"
E2E_WID=$OTHER
e2e_wait_painted "$E2E_WID" "$WORK/game.png" 0.02 || fail "the game's window shows nothing"
cp "$WORK/game.png" "$(dirname "$VORNE")/dialog_then_game.png"
xdotool windowminimize "$E2E_WID"
e2e_message_box "VORNEを強制終了します。" click
e2e_wait_exit 5
[ "$STATUS" = 0 ] || fail "after the minimise message the program should end with status 0, got $STATUS"
echo "dialog_wm: Alt+F4 on the dialog quit; the keyboard button started the game; minimised, its message, then status 0"
