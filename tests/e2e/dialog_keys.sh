#!/bin/bash
# The dialog from the keyboard: nothing has the focus at first, so Enter does nothing, and ESC is
# ignored; Tab, Shift+Tab and the arrows walk the buttons in the order keyboard, quit, joystick,
# watch replay (wrapping), the focused button shows its mark, and Space or Enter presses it.
. "$(dirname "$0")/xvfb_lib.bash"
e2e_setup 1024x768
e2e_start_dialog
xdotool mousemove 0 0  # keep the mouse off the buttons: no hover look

# focused_row: the row of the one button showing the focus, or "none" ("many" if more): its left
# edge (where no text is) carries the black outline and the dotted mark, beside the bevel's few
# pixels.
focused_row() {
    local found=none row
    shot "$E2E_WID" "$WORK/now.png"
    for row in 25 45 65 85; do
        rect 10 "$row" 190 15
        if [ "$(ink "$WORK/now.png" "$RL" "$RT" 6 "$RH")" -gt "$RH" ]; then
            [ "$found" = none ] && found=$row || found=many
        fi
    done
    echo "$found"
}

# wait_focus ROW WHAT: waits up to 3 s for the focus mark to be on the button at ROW, failing with
# WHAT otherwise.
wait_focus() {
    focus_on() { [ "$(focused_row)" = "$1" ]; }
    wait_for 3 focus_on "$1" || fail "$2 (the focus is on row $(focused_row))"
}

[ "$(focused_row)" = none ] || fail "a button has the focus before any key"
xdotool key Return
xdotool key Escape
sleep 0.5
e2e_wait_exit 0
[ "$STATUS" = running ] || fail "Enter without a focus or ESC ended the dialog (status $STATUS)"
[ "$(e2e_windows | wc -l)" = 1 ] || fail "Enter without a focus or ESC opened a window"

xdotool key shift+Tab  # no focus yet: the last button, watch replay
wait_focus 65 "Shift+Tab with no focus should focus watch replay"
xdotool key space
e2e_message_box "リプレイデータがありません。" Return
wait_focus 65 "the focus left watch replay with its message"
xdotool key Up  # watch replay -> joystick
wait_focus 45 "Up from watch replay should focus the joystick button"
xdotool key Return
e2e_message_box "ジョイスティックが接続されていません" Return

xdotool key Tab Tab Tab  # joystick -> watch replay -> keyboard (wrapping) -> quit
wait_focus 85 "after Tab x3 from joystick, quit should have the focus"
xdotool key Left Right  # back to keyboard and on to quit again
xdotool key Return
e2e_wait_exit 5
[ "$STATUS" = 0 ] || fail "Enter on quit should end the program with status 0, got $STATUS"
echo "dialog_keys: ESC and a focusless Enter ignored; Shift+Tab, Up, Tab x3, Left, Right walked the buttons; Space and Enter pressed them"
