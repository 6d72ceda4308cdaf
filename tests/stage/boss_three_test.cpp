// The third boss: the twin rings whose ninth bullet nearly repeats the first, the stream set's doubled
// bullet, the side fans' target captured the frame before, and the wall's capture, closing, hold and
// sweep either way. Its cycle frame by frame is the whole-game golden's.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "enemyfire/enemyfire.h"
#include "platform/platform.h"
#include "player/player.h"
#include "stage/stage.h"
#include "stage/stage_fixture.h"
#include "test_support.h"

namespace {

class BossThreeTest : public StageFixture {
protected:
    void SetUp() override { StartGameInRound(1); }

    // One update from empty pools.
    static Volley Step() { return Fired(UpdateBossThree); }

    static void Arrive() {
        SpawnBossThree();
        RunUntil(UpdateBossThree, [] { return g_bossThree.entered != 0; });
    }

    // Runs until the next frame's script timer reads t.
    static void RunTo(int t) { RunUntil(UpdateBossThree, [t] { return g_bossThree.scriptTimer == t; }); }
};

TEST_F(BossThreeTest, TwinRingsAreNineBulletsEachTheNinthNearlyOnTheFirst) {
    Arrive();
    RunTo(1352);
    Step();
    ASSERT_EQ(LiveBullets(g_smallBullets, SMALL_BULLET_COUNT), 18);
    // T1's ring aims at (x + 16, y + 46) from (x + 12, y + 47), turned by c + step.
    const double aim = std::atan2(-1.0, 4.0);
    EXPECT_NEAR(Turn(aim, Heading(g_smallBullets[0])), 0.0, 1e-5);
    EXPECT_NEAR(Turn(aim, Heading(g_smallBullets[1])), 0.785, 1e-5);
    EXPECT_NEAR(Turn(Heading(g_smallBullets[0]), Heading(g_smallBullets[8])), 6.28 - 2 * std::numbers::pi, 1e-5);
    EXPECT_NEAR(std::hypot(g_smallBullets[0].vx, g_smallBullets[0].vy), 3.0, 1e-5);
    // The angles step only after a ring: c down, d up.
    EXPECT_FLOAT_EQ(g_bossThree.twinRingAngleC, -0.15f);
    EXPECT_FLOAT_EQ(g_bossThree.twinRingAngleD, 0.15f);
}

TEST_F(BossThreeTest, DoubleFanStreamSetFiresTwoBulletsOnOnePathFromTheLeftGun) {
    Arrive();
    RunTo(612);
    Step();
    ASSERT_EQ(LiveBullets(g_smallBullets, SMALL_BULLET_COUNT), 30);
    // Items 1 and 3: the fifth bullet (a + 3s) and the tenth are the same.
    EXPECT_EQ(g_smallBullets[4].x, g_smallBullets[9].x);
    EXPECT_EQ(g_smallBullets[4].vx, g_smallBullets[9].vx);
    EXPECT_EQ(g_smallBullets[4].vy, g_smallBullets[9].vy);
    // The first comes from the left gun to the right, turned by -s from a = 0.
    EXPECT_NEAR(Heading(g_smallBullets[0]), -0.04, 1e-5);
    EXPECT_EQ(g_smallBullets[0].x, static_cast<float>(g_bossThree.x - 21));
}

TEST_F(BossThreeTest, SideFansAimAtThePointCapturedTheFrameBefore) {
    Arrive();
    RunTo(119);
    Step();  // capture here, at (75, 195)
    g_ships[0].x = 10;
    g_ships[0].y = 40;
    Step();
    ASSERT_EQ(LiveBullets(g_smallBullets, SMALL_BULLET_COUNT), 44);
    const double gx = g_bossThree.x - 20, gy = g_bossThree.y + 66;
    const double aim = std::atan2(195 - static_cast<int>(gy), 75 - static_cast<int>(gx));
    EXPECT_NEAR(Turn(aim, Heading(g_smallBullets[5])), 0.0, 1e-5);   // the middle of the first fan
    EXPECT_NEAR(Turn(aim, Heading(g_smallBullets[0])), -1.5, 1e-5);
    EXPECT_NEAR(std::hypot(g_smallBullets[11].vx, g_smallBullets[11].vy), 2.0, 1e-5);  // the right gun's
    EXPECT_NEAR(std::hypot(g_smallBullets[22].vx, g_smallBullets[22].vy), 3.0, 1e-5);
}

TEST_F(BossThreeTest, WallClosesHoldsThenSweepsByWhereTheShipWasAtCapture) {
    Arrive();
    RunTo(400);
    g_ships[0].x = 0;  // captured left of the core
    Step();
    EXPECT_EQ(g_bossThree.wallTargetCaptured, 1);
    EXPECT_EQ(g_bossThree.wallTargetX, 11);
    g_ships[0].x = 170;  // the ship moving right afterwards changes nothing
    Step();
    Step();  // first volley
    ASSERT_EQ(LargeBullets(), 8);
    const double aim = std::atan2(195 - (g_bossThree.y + 46), 11 - (g_bossThree.x + 16));
    EXPECT_NEAR(Turn(aim, Heading(g_largeBullets[0])), -2.4, 1e-5);
    EXPECT_NEAR(Turn(aim, Heading(g_largeBullets[3])), -1.2, 1e-5);
    EXPECT_NEAR(Turn(aim, Heading(g_largeBullets[4])), 2.4, 1e-5);
    EXPECT_NEAR(Turn(aim, Heading(g_largeBullets[7])), 1.2, 1e-5);
    EXPECT_NEAR(std::hypot(g_largeBullets[0].vx, g_largeBullets[0].vy), 6.0, 1e-5);
    int volleys = 1;
    for (int guard = 0; g_bossThree.wallStage == 0; ++guard) {
        ASSERT_LT(guard, 1000);
        Step();
        volleys += LargeBullets() == 8 ? 1 : 0;
    }
    EXPECT_EQ(volleys, 10);
    EXPECT_NEAR(g_bossThree.wallSpreadLeft, 0.0, 1e-6);
    for (int guard = 0; g_bossThree.wallStage == 1; ++guard) {
        ASSERT_LT(guard, 1000);
        Step();
        volleys += LargeBullets() == 8 ? 1 : 0;
    }
    EXPECT_EQ(volleys, 30);
    EXPECT_EQ(g_bossThree.wallSweepDirection, 0);
    EXPECT_EQ(g_bossThree.wallSweepCount, 1);
    EXPECT_GT(g_bossThree.wallSpreadLeft, 0.04f);  // direction 0 widens the left side first
    EXPECT_LT(g_bossThree.wallSpreadRight, -0.04f);
    for (int guard = 0; g_bossThree.wallSwitch == 1; ++guard) {
        ASSERT_LT(guard, 1000);
        Step();
        volleys += LargeBullets() == 8 ? 1 : 0;
    }
    EXPECT_EQ(volleys, 70);
    EXPECT_EQ(g_bossThree.wallSweepCount, 41);
    // Ten steps out, twenty-one back (the last in the volley that stops it): 0.55 below the start.
    EXPECT_NEAR(g_bossThree.wallSpreadLeft, -0.55, 1e-5);
}

TEST_F(BossThreeTest, WallCapturedRightOfTheCoreSweepsTheOtherWay) {
    Arrive();
    RunTo(400);
    g_ships[0].x = 150;
    Step();
    RunUntil(UpdateBossThree, [] { return g_bossThree.wallStage == 2; }, 1000);
    EXPECT_EQ(g_bossThree.wallSweepDirection, 1);
    EXPECT_LT(g_bossThree.wallSpreadLeft, -0.04f);
}

}  // namespace
