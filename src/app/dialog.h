// The start-up dialog: four buttons (keyboard, joystick, watch replay, quit) shown before the
// game window.
#pragma once

#include "platform/dialog.h"

// Dialog button identifiers.
inline constexpr int DIALOG_BUTTON_QUIT = 0;
inline constexpr int DIALOG_BUTTON_KEYBOARD = 100;
inline constexpr int DIALOG_BUTTON_JOYSTICK = 200;
inline constexpr int DIALOG_BUTTON_REPLAY = 300;

inline constexpr const char* MESSAGE_NO_JOYSTICK = "ジョイスティックが接続されていません";
inline constexpr const char* MESSAGE_NO_REPLAY = "リプレイデータがありません。";
inline constexpr const char* MESSAGE_MINIMISED = "VORNEを強制終了します。";
inline constexpr const char* MESSAGE_CAPTION = "VORNE";

// What the dialog does with a button press: returns -1 to stay in the dialog (after showing its
// message), 0 to end the dialog with quit, 1 to end it and play. fromCommandLine: the button was
// given as a command-line option, so a message goes to stderr instead of a message box.
int StartupDialogCommand(int buttonId, bool fromCommandLine);
// The dialog's template: its items in their original order, in dialog units.
extern const DialogTemplate STARTUP_DIALOG;
// Shows the dialog modally and returns how it ended (0 quit, 1 play).
int RunStartupDialog();
