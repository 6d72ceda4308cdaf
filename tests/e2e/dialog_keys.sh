#!/bin/bash
# The dialog from the keyboard: nothing has the focus at first, so Enter does nothing, and ESC is
# ignored; Tab, Shift+Tab and the arrows walk the buttons in the order keyboard, quit, joystick,
# watch replay (wrapping), the focused button shows its mark, and Space or Enter presses it.
. "$(dirname "$0")/dialog_common.inc"

start_vorne
wait_for_dialog
xdotool mousemove 0 0  # keep the mouse off the buttons: no hover look

# has_focus_mark ROW: true when the button at dialog-unit row ROW shows the focus: its left edge
# (where no text is) carries the black outline and the dotted mark, beside the bevel's few pixels.
has_focus_mark() {
    shot "$DIALOG" "$WORK/now.png"
    rect 10 "$1" 190 15
    [ "$(ink "$WORK/now.png" "$RL" "$RT" 6 "$RH")" -gt "$RH" ]
}

# focused_row: the row of the one button with the focus mark, or "none" ("many" if more).
focused_row() {
    local found=none row
    for row in 25 45 65 85; do
        if has_focus_mark "$row"; then
            [ "$found" = none ] && found=$row || found=many
        fi
    done
    echo "$found"
}

# wait_focus ROW WHAT: waits up to 3 s for the focus mark to be on the button at row ROW (or on
# none), failing with WHAT otherwise.
wait_focus() {
    local now
    for _ in $(seq 15); do
        now=$(focused_row)
        [ "$now" = "$1" ] && return
        sleep 0.2
    done
    fail "$2 (the focus is on row $now)"
}

# expect_box TEXT: the next key press showed the message TEXT; closes it with Return.
expect_box() {
    wait_other_window 10
    [ -n "$OTHER" ] || fail "no message box; expected \"$1\""
    sleep 0.3
    if [ -n "$REF_FONT" ]; then
        box_text_matches "$OTHER" "$1" || fail "the message box does not show \"$1\""
    fi
    xdotool key Return
    wait_gone "$OTHER" 10 || fail "the message box stays after Return"
    sleep 0.3
}

[ "$(focused_row)" = none ] || fail "a button has the focus before any key"
xdotool key Return
xdotool key Escape
sleep 0.5
wait_vorne 0
[ "$STATUS" = running ] || fail "Enter without a focus or ESC ended the dialog (status $STATUS)"
[ -z "$(other_window)" ] || fail "Enter without a focus or ESC opened a window"
note "Enter with no focus and ESC: ignored"

xdotool key shift+Tab  # no focus yet: the last button, watch replay
wait_focus 65 "Shift+Tab with no focus should focus watch replay"
note "Shift+Tab: watch replay has the focus mark"
xdotool key space
expect_box "リプレイデータがありません。"
note "Space pressed watch replay; its focus stays"

wait_focus 65 "the focus left watch replay with its message"
xdotool key Up  # watch replay -> joystick
wait_focus 45 "Up from watch replay should focus the joystick button"
xdotool key Return
expect_box "ジョイスティックが接続されていません"
note "Up, Enter pressed the joystick button"

xdotool key Tab Tab Tab  # joystick -> watch replay -> keyboard (wrapping) -> quit
wait_focus 85 "after Tab x3 from joystick, quit should have the focus"
xdotool key Left Right  # back to keyboard and on to quit again
xdotool key Return
wait_vorne 5
[ "$STATUS" = 0 ] || fail "Enter on quit should end the program with status 0, got $STATUS"
note "Tab x3, Left, Right, Enter pressed quit: status 0"
echo PASS
