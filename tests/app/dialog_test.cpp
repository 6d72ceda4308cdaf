// The start-up dialog's buttons: what each does to the run's mode (on the headless platform, in
// the scratch folder for score.dat and replay.rep).
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "app/dialog.h"
#include "app/game.h"
#include "input/input.h"
#include "platform/dialog.h"
#include "platform/platform.h"
#include "player/player.h"
#include "test_support.h"

namespace {

class DialogButtons : public ::testing::Test {
  protected:
    void SetUp() override {
        SetUpHeadlessGame();
        RemoveRecordFiles();
        PlatHeadlessSetJoystick(false, PlatJoystickRaw{});
        g_hiScore = 0;
    }
    void TearDown() override { RemoveRecordFiles(); }
    static void WriteRecord(const char* name, uint32_t value) {
        WriteWholeFile(name, std::string(reinterpret_cast<const char*>(&value), 4));
    }
};

TEST_F(DialogButtons, KeyboardJoystickAndQuit) {
    EXPECT_EQ(StartupDialogCommand(DIALOG_BUTTON_JOYSTICK, false), -1);  // none attached: the dialog stays
    EXPECT_EQ(g_hiScore, 0);
    PlatHeadlessSetJoystick(true, PlatJoystickRaw{});
    EXPECT_EQ(StartupDialogCommand(DIALOG_BUTTON_JOYSTICK, false), 1);
    EXPECT_EQ(std::tie(g_useJoystick, g_watchingReplay, g_hiScore), std::make_tuple(1, 0, DEFAULT_HIGH_SCORE));
    WriteRecord("score.dat", 123456);
    g_watchingReplay = 1;
    EXPECT_EQ(StartupDialogCommand(DIALOG_BUTTON_KEYBOARD, false), 1);
    EXPECT_EQ(std::tie(g_useJoystick, g_watchingReplay, g_hiScore), std::make_tuple(0, 0, 123456));
    EXPECT_EQ(StartupDialogCommand(DIALOG_BUTTON_QUIT, false), 0);
    EXPECT_EQ(StartupDialogCommand(12345, false), -1);  // no such button: not handled
}

TEST_F(DialogButtons, WatchReplayNeedsAValidFile) {
    EXPECT_EQ(StartupDialogCommand(DIALOG_BUTTON_REPLAY, false), -1);  // no file
    WriteRecord("replay.rep", REPLAY_MAGIC + 1);
    EXPECT_EQ(StartupDialogCommand(DIALOG_BUTTON_REPLAY, false), -1);
    EXPECT_EQ(g_watchingReplay, 0);
    WriteRecord("replay.rep", REPLAY_MAGIC);
    EXPECT_EQ(StartupDialogCommand(DIALOG_BUTTON_REPLAY, false), 1);
    EXPECT_EQ(g_watchingReplay, 1);
    EXPECT_EQ(g_useJoystick, 0);
    EXPECT_EQ(g_hiScore, DEFAULT_HIGH_SCORE);
    // The headless platform cannot show the dialog: its close button (quit) is pressed.
    EXPECT_EQ(RunStartupDialog(), 0);
}

}  // namespace
