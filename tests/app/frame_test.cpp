// The frame loop's tick rule on the virtual clock, and a frame abandoned when its drawing fails.
// The screens' timing frame by frame, ESC and pausing are the golden traces' and draw_trace_test's.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "app/game.h"
#include "input/input.h"
#include "platform/platform.h"
#include "player/player.h"
#include "player/ship.h"
#include "test_support.h"
#include "video/display.h"

namespace {

class FrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetUpHeadlessGame();
        PlatCreateWindow(MainWindowProc);
    }
};

TEST_F(FrameTest, TickNeedsStrictlyMoreThanTheInterval) {
    g_frameInterval = 28;
    EXPECT_FALSE(FrameTickDue(1028, 1000));
    EXPECT_TRUE(FrameTickDue(1029, 1000));
    EXPECT_TRUE(FrameTickDue(13, 0xFFFFFFF0u));  // the millisecond clock wraps
    EXPECT_FALSE(FrameTickDue(12, 0xFFFFFFF0u));
    g_frameInterval = 36;
    EXPECT_FALSE(FrameTickDue(1036, 1000));
}

// The real message loop on the virtual clock: ticks are 29 ms apart, none while the game is in
// the background, one (not a burst) on its return, and none while paused.
TEST_F(FrameTest, MessageLoopPacesTicksWithoutCatchingUp) {
    PlatHeadlessScheduleMessage(0, WM_ACTIVATEAPP, 1);
    PlatHeadlessScheduleMessage(300, WM_ACTIVATEAPP, 0);
    PlatHeadlessScheduleMessage(1000, WM_ACTIVATEAPP, 1);
    PlatHeadlessScheduleMessage(1200, WM_QUIT, 0);
    g_appActive = 0;
    EXPECT_EQ(RunMessageLoop(), 0);
    std::vector<uint32_t> times;
    PlatHeadlessPresentTimes(&times);
    ASSERT_GE(times.size(), 10u);
    bool sawReturn = false;
    for (size_t i = 1; i < times.size(); ++i) {
        const uint32_t gap = times[i] - times[i - 1];
        EXPECT_GE(gap, 29u) << "tick " << i;
        EXPECT_FALSE(times[i] > 300 && times[i] < 1000) << "a tick ran in the background at " << times[i];
        if (times[i] >= 1000 && !sawReturn) {
            sawReturn = true;
            EXPECT_LE(times[i], 1001u);  // the first tick after the return comes at once ...
            ASSERT_LT(i + 1, times.size());
            EXPECT_EQ(times[i + 1] - times[i], 29u);  // ... and the next one an interval later
        }
    }
    EXPECT_TRUE(sawReturn);
    // Paused: nothing presented.
    g_paused = 1;
    PlatHeadlessScheduleMessage(times.back() + 500, WM_QUIT, 0);
    const uint64_t before = PlatPresentCount();
    RunMessageLoop();
    EXPECT_EQ(PlatPresentCount(), before);
}

// A game frame whose drawing fails (the display lost and a sheet that cannot be reloaded) stops
// at the failed step: nothing after it runs, not even the replay record's advance; the next
// frame, with the sheet back, goes on.
TEST_F(FrameTest, LostDisplayAbandonsTheGameFrameAtTheFailedStep) {
    StartGame();
    const int32_t record = g_replayFrame;
    ASSERT_EQ(std::rename("grB.dat", "grB.away"), 0);
    PlatMarkAllSurfacesLost();
    const bool drawn = UpdateGameFrame();
    ASSERT_EQ(std::rename("grB.away", "grB.dat"), 0);
    EXPECT_FALSE(drawn);
    EXPECT_EQ(g_replayFrame, record);
    EXPECT_EQ(g_selectPanels[0].x, -96);  // the ship selection after the stars never ran
    ASSERT_TRUE(RestoreSurfaces());
    EXPECT_TRUE(UpdateGameFrame());
    EXPECT_EQ(g_replayFrame, record + 1);
}

}  // namespace
