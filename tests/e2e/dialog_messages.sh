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
    wait_other_window 10
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
    wait_gone "$OTHER" 10 || fail "the message box stays after $3"
    sleep 0.3
    visible_windows | grep -qx "$DIALOG" || fail "the dialog closed with its message box"
    kill -0 "$VORNE_PID" 2>/dev/null || fail "the program ended after the message"
    note "message \"$2\" shown and closed with $3; the dialog stays"
}

press_and_expect 65 "リプレイデータがありません。" click
press_and_expect 45 "ジョイスティックが接続されていません" Return
press_and_expect 65 "リプレイデータがありません。" space

# The keyboard button still starts the game: the dialog goes, the game's window shows and its
# splash picture is drawn (not one flat colour).
click_item 10 25 190 15
wait_gone "$DIALOG" 10 || fail "the dialog stays after the keyboard button"
if [ -n "$VORNE_E2E_NO_GAME_WINDOW" ]; then
    # Only for trying the dialog in a build whose game window is still a stand-in.
    note "not looking for the game's window (VORNE_E2E_NO_GAME_WINDOW is set)"
else
    wait_other_window 15
    [ -n "$OTHER" ] || fail "no game window after the keyboard button"
    drawn=
    for _ in $(seq 50); do
        shot "$OTHER" "$WORK/game.png"
        d=$(convert "$WORK/game.png" -colorspace gray -format '%[fx:standard_deviation]' info:)
        awk -v d="$d" 'BEGIN { exit !(d > 0.02) }' && drawn=1 && break
        sleep 0.2
    done
    [ -n "$drawn" ] || fail "the game's window shows nothing"
    cp "$WORK/game.png" "$BUILD_DIR/dialog_then_game.png"
    note "the game's window shows a picture ($BUILD_DIR/dialog_then_game.png)"
fi
wait_vorne 1
[ "$STATUS" = running ] || fail "the game ended (status $STATUS) right after the keyboard button"
note "keyboard: the game is running"
echo PASS
