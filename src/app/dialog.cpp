// The start-up dialog: its template (the four buttons, the key help and the notes, placed in
// dialog units exactly as the dialog was first drawn up) and its procedure, which sets the run's
// mode from the button pressed, loads the high score and, for a replay, the recording. The same
// procedure serves the command-line options that stand for the buttons.
#include "app/dialog.h"

#include <cstdio>

#include "app/game.h"
#include "input/input.h"
#include "platform/dialog.h"
#include "platform/platform.h"

namespace {

// The dialog's items in their original order, which is also the order Tab walks the buttons in:
// keyboard, quit, joystick, watch replay.
// clang-format off
const DialogItem STARTUP_DIALOG_ITEMS[] = {
    {-1, DIALOG_STATIC_CENTRE, "VORNE", 5, 5, 200, 10},
    {DIALOG_BUTTON_KEYBOARD, DIALOG_PUSH_BUTTON, "キーボードでプレイする", 10, 25, 190, 15},
    {DIALOG_BUTTON_QUIT, DIALOG_PUSH_BUTTON, "終了する", 10, 85, 190, 15},
    {DIALOG_BUTTON_JOYSTICK, DIALOG_PUSH_BUTTON, "ジョイスティックでプレイする", 10, 45, 190, 15},
    {-1, DIALOG_STATIC_CENTRE, "(C) 2000 The VORNE Team", 5, 200, 200, 10},
    {-1, DIALOG_STATIC, "SPACE or Z or CTRL・・・ショット", 10, 165, 95, 10},
    {-1, DIALOG_STATIC, "RETURN or X or SHIFT・・・ボム", 10, 175, 95, 10},
    {-1, DIALOG_STATIC, "カーソル or テンキー・・・移動", 10, 185, 95, 8},
    {-1, DIALOG_GROUP_BOX, "キーボード", 5, 150, 105, 45},
    {-1, DIALOG_GROUP_BOX, "ジョイスティックorパッド", 110, 150, 95, 45},
    {-1, DIALOG_STATIC, "Aボタン・・・ショット", 115, 165, 85, 8},
    {-1, DIALOG_STATIC, "Bボタン・・・ボム", 115, 175, 85, 8},
    {-1, DIALOG_STATIC, "方向キー・・・移動", 115, 185, 85, 8},
    {-1, DIALOG_STATIC,
     "注：解像度が320x240,8bitに対応してない場合、640x480,8bitで実行します。TABキーを押すと拡大転送します。", 13, 108,
     180, 18},
    {DIALOG_BUTTON_REPLAY, DIALOG_PUSH_BUTTON, "ハイスコアのリプレイを見る", 10, 65, 190, 15},
    {-1, DIALOG_STATIC, "ゲーム中にPキーを押すとゲームが一時停止されます", 24, 131, 160, 17},
};
// clang-format on

void ShowDialogMessage(const char* text, bool fromCommandLine) {
    if (fromCommandLine) {
        std::fprintf(stderr, "%s\n", text);
    } else {
        PlatMessageBox(text, MESSAGE_CAPTION);
    }
}

// The dialog procedure: a button press from the dialog window.
int StartupDialogProc(int buttonId) {
    const int result = StartupDialogCommand(buttonId, false);
    return result < 0 ? DIALOG_STAY : result;
}

}  // namespace

const DialogTemplate STARTUP_DIALOG = {
    210,
    215,
    "ＭＳ Ｐゴシック",
    9,
    STARTUP_DIALOG_ITEMS,
    static_cast<int>(sizeof(STARTUP_DIALOG_ITEMS) / sizeof(STARTUP_DIALOG_ITEMS[0])),
    DIALOG_BUTTON_QUIT,  // the window has no close box; if it is closed anyway, that is quit
};

int StartupDialogCommand(int buttonId, bool fromCommandLine) {
    switch (buttonId) {
        case DIALOG_BUTTON_KEYBOARD:
            g_useJoystick = 0;
            g_watchingReplay = 0;
            LoadHighScore();
            return 1;
        case DIALOG_BUTTON_JOYSTICK:
            if (!PlatJoystickPresent()) {
                ShowDialogMessage(MESSAGE_NO_JOYSTICK, fromCommandLine);
                return -1;
            }
            g_watchingReplay = 0;
            g_useJoystick = 1;
            LoadHighScore();
            return 1;
        case DIALOG_BUTTON_REPLAY:
            if (LoadReplay()) {
                g_watchingReplay = 1;
                LoadHighScore();
                return 1;
            }
            ShowDialogMessage(MESSAGE_NO_REPLAY, fromCommandLine);
            return -1;
        case DIALOG_BUTTON_QUIT: return 0;
        default: return -1;
    }
}

int RunStartupDialog() { return PlatRunDialog(STARTUP_DIALOG, StartupDialogProc); }
