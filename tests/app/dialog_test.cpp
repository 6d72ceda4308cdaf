// The start-up dialog's buttons: what each does to the run's mode (on the headless platform, in
// the scratch folder for score.dat and replay.rep).
#include <gtest/gtest.h>

#include <string>

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

TEST_F(DialogButtons, KeyboardAndQuit) {
    WriteRecord("score.dat", 123456);
    g_useJoystick = 1;  // left over from nothing, but the button must set play mode whatever it was
    g_watchingReplay = 1;
    EXPECT_EQ(StartupDialogCommand(DIALOG_BUTTON_KEYBOARD, false), 1);
    EXPECT_EQ(g_useJoystick, 0);
    EXPECT_EQ(g_watchingReplay, 0);
    EXPECT_EQ(g_hiScore, 123456);
    EXPECT_EQ(StartupDialogCommand(DIALOG_BUTTON_QUIT, false), 0);
    EXPECT_EQ(StartupDialogCommand(12345, false), -1);  // no such button: not handled
}

TEST_F(DialogButtons, JoystickNeedsOneAttached) {
    EXPECT_EQ(StartupDialogCommand(DIALOG_BUTTON_JOYSTICK, false), -1);
    EXPECT_EQ(g_useJoystick, 0);
    EXPECT_EQ(g_hiScore, 0);  // nothing loaded: the dialog stays
    PlatHeadlessSetJoystick(true, PlatJoystickRaw{});
    EXPECT_EQ(StartupDialogCommand(DIALOG_BUTTON_JOYSTICK, false), 1);
    EXPECT_EQ(g_useJoystick, 1);
    EXPECT_EQ(g_watchingReplay, 0);
    EXPECT_EQ(g_hiScore, DEFAULT_HIGH_SCORE);  // no score.dat
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
