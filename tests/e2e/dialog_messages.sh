#!/bin/bash
# The dialog's two messages: watch replay without a replay.rep, and the joystick button without a
# joystick, each show a message box captioned VORNE with its Japanese text over the dialog, which
# stays; after both, the keyboard button still starts the game.
. "$(dirname "$0")/dialog_common.inc"

start_vorne
wait_for_dialog

# press_and_expect BUTTON_Y TEXT HOW: presses the button at dialog-unit row BUTTON_Y and checks the
# message box that follows; HOW closes it: click, Return or space.
press_and_expect() {
    click_item 10 "$1" 190 15
    wait_other_window 3
    [ -n "$OTHER" ] || fail "no message box after the button at row $1"
    sleep 0.3
    [ "$(xdotool getwindowname "$OTHER")" = VORNE ] || fail "the message box's caption is not VORNE"
    visible_windows | grep -qx "$DIALOG" || fail "the dialog went away under its message box"
    shot "$OTHER" "$WORK/box_full.png"
    [ "$(ink "$WORK/box_full.png" 6 30 100 16)" -ge 15 ] || fail "no text in the message box"
    if [ -n "$REF_FONT" ]; then
        box_text_matches "$OTHER" "$2" || fail "the message box does not show \"$2\""
    fi
    case "$3" in
        click) click_box_ok "$OTHER" ;;
        *) xdotool key "$3" ;;
    esac
    wait_gone "$OTHER" 3 || fail "the message box stays after $3"
    sleep 0.3
    visible_windows | grep -qx "$DIALOG" || fail "the dialog closed with its message box"
    kill -0 "$VORNE_PID" 2>/dev/null || fail "the program ended after the message"
    note "message \"$2\" shown and closed with $3; the dialog stays"
}

press_and_expect 65 "リプレイデータがありません。" click
press_and_expect 45 "ジョイスティックが接続されていません" Return
press_and_expect 65 "リプレイデータがありません。" space

# The keyboard button still starts the game: the dialog goes and the game goes on.
click_item 10 25 190 15
wait_gone "$DIALOG" 3 || fail "the dialog stays after the keyboard button"
wait_other_window 5
if [ -n "$OTHER" ]; then
    note "the game's window appeared after the dialog"
else
    # A build whose game window is still a stand-in shows nothing; the game must still be running.
    note "no game window in this build; checking that the game keeps running"
fi
wait_vorne 1
[ "$STATUS" = running ] || fail "the game ended (status $STATUS) right after the keyboard button"
note "keyboard: the game is running"
echo PASS
