// The first boss: the script's two passes before the long section, the spiral angle's wrap after the
// step, and the second appearance's wall and side guns that reuse the right gun's target. Its patterns
// frame by frame are the whole-game golden's.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "enemyfire/enemyfire.h"
#include "player/player.h"
#include "stage/stage.h"
#include "stage/stage_fixture.h"
#include "test_support.h"

namespace {

class BossOneTest : public StageFixture {
protected:
    void SetUp() override {
        StartGameInRound(1);
        g_crossCounterA = g_crossCounterB = g_ringCounter = 0;
    }
    // Updates the boss until its script is about to process timer value t (in the first pass
    // for values up to 340), then clears the bullets so the next update's volley stands alone.
    static void RunToTimer(int t) {
        for (int guard = 0; guard < 5000; ++guard) {
            if (g_bossOne.entryCounter == 66 && g_bossOne.scriptTimer == t) break;
            UpdateBossOne();
        }
        ASSERT_EQ(g_bossOne.scriptTimer, t);
        ClearEnemyBullets();
    }
    // One update; returns the new small and large bullets.
    static std::pair<int, int> Step() {
        const int small = SmallBullets(), large = LargeBullets();
        UpdateBossOne();
        return {SmallBullets() - small, LargeBullets() - large};
    }
};

// The spiral angle wraps when the step takes it to 6.28 or more: the 21st step (6.3) gives 0.
TEST_F(BossOneTest, SpiralAngleWrapsAfterTheStep) {
    SpawnBossOne(0);
    RunToTimer(41);  // 20 pairs fired (timers 2..40)
    EXPECT_NEAR(g_bossOne.leftSpiralAngle, 6.0, 1e-4);
    EXPECT_NEAR(g_bossOne.rightSpiralAngle, -6.0, 1e-4);
    RunToTimer(43);
    EXPECT_EQ(g_bossOne.leftSpiralAngle, 0.0f);
    EXPECT_EQ(g_bossOne.rightSpiralAngle, 0.0f);
}

// 0-340 plays twice, then 0-560 once with the cross 3 / ring section from 360.
TEST_F(BossOneTest, ScriptCycleRunsTheLongSectionEverySecondPass) {
    SpawnBossOne(0);
    for (int f = 0; f < 66 + 341; ++f) UpdateBossOne();
    EXPECT_EQ(g_bossOne.scriptTimer, 0);
    EXPECT_EQ(g_bossOne.secondPass, 1);
    for (int f = 0; f < 341; ++f) UpdateBossOne();
    EXPECT_EQ(g_bossOne.scriptTimer, 341);  // no restart on the second pass
    EXPECT_EQ(g_bossOne.cross3Switch, 0);
    for (int f = 0; f < 20; ++f) UpdateBossOne();
    EXPECT_EQ(g_bossOne.cross3Switch, 1);
    EXPECT_EQ(g_bossOne.ringSwitch, 1);
    for (int f = 0; f < 200; ++f) UpdateBossOne();
    EXPECT_EQ(g_bossOne.scriptTimer, 0);
    EXPECT_EQ(g_bossOne.secondPass, 0);
    EXPECT_EQ(g_bossOne.cross3Switch, 0);
    EXPECT_EQ(g_bossOne.ringSwitch, 0);
}

TEST_F(BossOneTest, SecondAppearanceWallOpensAndCloses) {
    SpawnBossOne(1);
    RunToTimer(1130);
    EXPECT_EQ(Step().second, 0);  // the boss sways one last time, then stops
    const int x = g_bossOne.x, y = g_bossOne.y;
    for (int t = 1131; t < 1133; ++t) EXPECT_EQ(Step().second, 0) << t;
    EXPECT_EQ(g_bossOne.wallAimX, x + 60);
    EXPECT_EQ(g_bossOne.wallAimY, y + 45);
    EXPECT_EQ(Step().second, 8);  // every third frame
    // The innermost right bullet: 0.14 clockwise from straight down, at 5.
    const EnemyBullet& inner = g_largeBullets[7];
    EXPECT_NEAR(inner.vx, 5.0 * std::cos(std::numbers::pi / 2 + 0.14), 1e-5);
    EXPECT_NEAR(g_bossOne.wallSpread, 0.08, 1e-6);
    for (int v = 1; v < 10; ++v) {
        for (int f = 0; f < 3; ++f) UpdateBossOne();
    }
    EXPECT_NEAR(g_bossOne.wallSpread, 0.8, 1e-5);  // ten opening volleys
    for (int v = 0; v < 11; ++v) {
        for (int f = 0; f < 3; ++f) UpdateBossOne();
    }
    EXPECT_EQ(g_bossOne.wallSpread, 0.0f);  // closed after 21 volleys, counting again from 0
    EXPECT_EQ(g_bossOne.wallVolleyCount, 0);
    EXPECT_EQ(g_bossOne.x, x);  // standing still
    EXPECT_EQ(g_bossOne.y, y);
}

// Side guns: after the first pass the left gun aims at the point captured for the right gun.
TEST_F(BossOneTest, SecondAppearanceSideGunsReuseTheRightGunsTarget) {
    g_round = 2;
    SpawnBossOne(1);
    RunToTimer(1130);
    for (int c = 0; c < 12; ++c) UpdateBossOne();
    g_ships[0].x = 10;  // captured at cycle 12 for the right gun
    UpdateBossOne();
    EXPECT_EQ(g_bossOne.targetX, 21);
    g_ships[0].x = 150;
    for (int c = 13; c < 24; ++c) UpdateBossOne();
    UpdateBossOne();  // cycle 24 -> 0 -> 1 in one frame: no new capture
    EXPECT_EQ(g_bossOne.sideGunCycle, 1);
    EXPECT_EQ(g_bossOne.targetX, 21);
}

}  // namespace
