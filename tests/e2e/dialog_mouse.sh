#!/bin/bash
# The start-up dialog by the mouse: alone before the game, at its template's size, its buttons and
# Japanese texts in real glyphs (left beside the binary as dialog.png). Watch replay and the
# joystick button show their message over it, closed by OK, Return or Space; quit ends with 0.
. "$(dirname "$0")/xvfb_lib.bash"
e2e_setup 1024x768
e2e_start_dialog
note "dialog ${DIALOG_W}x${DIALOG_H} pixels, base units ${BX}x${BY}"
[ "$(e2e_windows | wc -l)" = 1 ] || fail "more than one window shows while the dialog is up"
[ "$BY" -ge 10 ] && [ "$BY" -le 16 ] || fail "a 9-point font should be 10 to 16 pixels high, not $BY"
PIC=$(dirname "$VORNE")/dialog.png
shot "$E2E_WID" "$PIC"

# Every button and static shows ink where its text belongs: x y w h in dialog units, the text,
# "button" or "static", and whether to compare it with its glyphs. Inside a button, its 3D
# border is left out.
check_item() {
    rect "$1" "$2" "$3" "$4"
    local inset=0 inside
    [ "$6" = button ] && inset=3
    inside=$(ink "$PIC" $((RL + inset)) $((RT + inset)) $((RW - 2 * inset)) $((RH - 2 * inset)))
    [ "$inside" -ge 20 ] || fail "no text drawn in \"$5\" ($inside dark pixels)"
    if [ -n "$REF_FONT" ] && [ "${7:-}" = compare ]; then
        text_matches "$PIC" $((RL + inset)) $((RT + inset)) $((RW - 2 * inset)) $((RH - 2 * inset)) "$5" ||
            fail "\"$5\" does not look like its glyphs"
    fi
}
check_item 10 25 190 15 "キーボードでプレイする" button compare
check_item 10 45 190 15 "ジョイスティックでプレイする" button compare
check_item 10 65 190 15 "ハイスコアのリプレイを見る" button compare
check_item 10 85 190 15 "終了する" button compare
check_item 115 185 85 8 "方向キー・・・移動" static
check_item 5 5 200 10 "VORNE" static
check_item 115 165 85 8 "Aボタン・・・ショット" static
check_item 13 108 180 18 "注：解像度が…" static
check_item 24 131 160 17 "ゲーム中にPキーを…" static
check_item 5 200 200 10 "credit line" static
[ -n "$REF_FONT" ] || note "VL PGothic is not installed: glyphs checked by their ink only"
# Between the buttons nothing is drawn.
rect 10 40 190 5
[ "$(ink "$PIC" "$RL" $((RT + 1)) "$RW" $((RH - 2)))" = 0 ] || fail "ink between the first two buttons"

for press in "65 リプレイデータがありません。 click" "45 ジョイスティックが接続されていません Return" \
             "65 リプレイデータがありません。 space"; do
    read -r row text how <<<"$press"
    click_button "$row"
    e2e_message_box "$text" "$how" over
    e2e_windows | grep -qx "$E2E_WID" || fail "the dialog closed with its message box"
    kill -0 "$E2E_GAME" 2>/dev/null || fail "the program ended after the message"
    note "message \"$text\" shown and closed with $how; the dialog stays"
done

click_button 85
e2e_wait_exit 5
[ "$STATUS" = 0 ] || fail "quit should end the program with status 0, got $STATUS"
echo "dialog_mouse: laid out and lettered, its two messages shown over it, quit ended with 0"
