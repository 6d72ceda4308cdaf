// The start-up dialog's buttons: what each does to the run's mode (on the headless platform, in a
// scratch folder for score.dat and replay.rep).
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/dialog.h"
#include "app/game.h"
#include "input/input.h"
#include "platform/dialog.h"
#include "platform/platform.h"
#include "player/player.h"

namespace {
// Each case runs in a scratch folder, on the headless platform.
class DialogButtons : public ::testing::Test {
  protected:
    void SetUp() override {
        PlatformOptions options;
        options.backend = PLATFORM_HEADLESS;
        PlatformInit(options);
        PlatHeadlessSetJoystick(false, PlatJoystickRaw{});
        ASSERT_NE(getcwd(oldDir_, sizeof(oldDir_)), nullptr);
        char pattern[] = "/tmp/vorne_dialog_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        ASSERT_EQ(chdir(dir_.c_str()), 0);
        g_useJoystick = 0;
        g_watchingReplay = 0;
        g_savedHiScore = 0;
        g_hiScore = 0;
    }
    void TearDown() override {
        std::remove("replay.rep");
        std::remove("score.dat");
        EXPECT_EQ(chdir(oldDir_), 0);
        rmdir(dir_.c_str());
    }
    static void WriteFile(const char* name, const void* data, size_t size) {
        std::FILE* f = std::fopen(name, "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    char oldDir_[4096] = {};
    std::string dir_;
};

TEST_F(DialogButtons, KeyboardAndQuit) {
    const int32_t stored = 123456;
    WriteFile("score.dat", &stored, 4);
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
    const uint32_t wrong = REPLAY_MAGIC + 1;
    WriteFile("replay.rep", &wrong, 4);
    EXPECT_EQ(StartupDialogCommand(DIALOG_BUTTON_REPLAY, false), -1);
    EXPECT_EQ(g_watchingReplay, 0);
    const uint32_t magic = REPLAY_MAGIC;
    WriteFile("replay.rep", &magic, 4);
    EXPECT_EQ(StartupDialogCommand(DIALOG_BUTTON_REPLAY, false), 1);
    EXPECT_EQ(g_watchingReplay, 1);
    EXPECT_EQ(g_useJoystick, 0);
    EXPECT_EQ(g_hiScore, DEFAULT_HIGH_SCORE);
}

TEST_F(DialogButtons, WithoutAWindowTheDialogEndsAsQuit) {
    // The headless platform cannot show the dialog: its close button (quit) is pressed.
    EXPECT_EQ(RunStartupDialog(), 0);
}

}  // namespace
