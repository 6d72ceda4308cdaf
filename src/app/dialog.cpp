// The start-up dialog's buttons. (Until the dialog window exists, RunStartupDialog acts as if
// the keyboard button had been pressed.)
#include "app/dialog.h"

#include <cstdio>

#include "app/game.h"
#include "input/input.h"
#include "platform/platform.h"

namespace {

void ShowDialogMessage(const char* text, bool fromCommandLine) {
    if (fromCommandLine) {
        std::fprintf(stderr, "%s\n", text);
    } else {
        PlatMessageBox(text, MESSAGE_CAPTION);
    }
}

}  // namespace

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
            if (LoadReplay() <= 0) {
                g_watchingReplay = 1;
                LoadHighScore();
                return 1;
            }
            ShowDialogMessage(MESSAGE_NO_REPLAY, fromCommandLine);
            return -1;
        case DIALOG_BUTTON_QUIT:
            return 0;
        default:
            return -1;
    }
}

int RunStartupDialog() { return StartupDialogCommand(DIALOG_BUTTON_KEYBOARD, false); }
