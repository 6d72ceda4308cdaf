// The first boss: its entry path and sway, the script cycle of the first appearance (0-340
// twice, then 0-560), the first frames of each pattern in both rounds, the spiral wraps, and the
// second appearance's twin spiral, target fans and wall.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "enemyfire/enemyfire.h"
#include "player/player.h"
#include "stage/stage.h"
#include "test_support.h"

namespace {

int LiveBullets(const EnemyBullet* pool, int count) {
    int n = 0;
    for (int i = 0; i < count; ++i) n += pool[i].alive == 1 ? 1 : 0;
    return n;
}
int SmallBullets() { return LiveBullets(g_smallBullets, SMALL_BULLET_COUNT); }
int LargeBullets() { return LiveBullets(g_largeBullets, LARGE_BULLET_COUNT); }

class Stage1BossTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetUpHeadlessGame();
        g_round = 1;
        g_aimJitter = 0.0f;
        g_ships[0].active = 1;  // hit pixel (75, 195)
        g_ships[1].active = 0;
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

TEST_F(Stage1BossTest, EntersInSixtySixFramesThenSways) {
    SpawnBossOne(0);
    for (int f = 1; f <= 66; ++f) {
        UpdateBossOne();
        ASSERT_EQ(g_bossOne.y, -112 + 2 * f);
        ASSERT_EQ(g_bossOne.x, 36);
    }
    EXPECT_EQ(g_bossOne.y, 20);
    EXPECT_EQ(g_bossOne.scriptTimer, 0);
    EXPECT_EQ(SmallBullets() + LargeBullets(), 0);  // silent during the entry
    UpdateBossOne();  // the script's first frame: sway from angle 0
    EXPECT_EQ(g_bossOne.x, 38);
    EXPECT_EQ(g_bossOne.y, 20);
    EXPECT_EQ(g_bossOne.scriptTimer, 1);
    EXPECT_EQ(g_bossOne.entryCounter, 66);
    for (int f = 0; f < 30; ++f) UpdateBossOne();
    const double angle = 30 * 0.05;  // the last position came from the angle before its step
    EXPECT_NEAR(g_bossOne.x, std::sin(angle) * 20 + 38, 1.0);
    EXPECT_NEAR(g_bossOne.y, std::cos(angle) * 5 + 15, 1.0);
}

TEST_F(Stage1BossTest, RoundOneOpeningSpiralAndStraights) {
    SpawnBossOne(0);
    RunToTimer(0);
    EXPECT_EQ(Step().first, 0);  // timer 0: spiral 1 on
    EXPECT_EQ(Step().first, 0);
    EXPECT_EQ(Step().first, 2);  // timer 2: one from each turret, straight up
    const EnemyBullet& left = g_smallBullets[0];
    EXPECT_NEAR(left.vx, 0.0, 1e-6);
    EXPECT_NEAR(left.vy, -3.0, 1e-6);
    EXPECT_EQ(left.x, static_cast<float>(g_bossOne.x + 25 - 1));
    RunToTimer(10);  // first straights, 11 frames into the script, with the spiral's pair
    EXPECT_EQ(Step().first, 4 + 2);
    EXPECT_EQ(g_smallBullets[0].x, static_cast<float>(g_bossOne.x + 49 - 1));
    EXPECT_EQ(g_smallBullets[3].y, static_cast<float>(g_bossOne.y + 40 - 1));
    RunToTimer(150);
    EXPECT_EQ(Step(), std::make_pair(4 + 2, 5));  // aimed fan of large bullets, straights, spiral
}

// The spiral angle wraps when the step takes it to 6.28 or more: the 21st step (6.3) gives 0.
TEST_F(Stage1BossTest, SpiralAngleWrapsAfterTheStep) {
    SpawnBossOne(0);
    RunToTimer(41);  // 20 pairs fired (timers 2..40)
    EXPECT_NEAR(g_bossOne.leftSpiralAngle, 6.0, 1e-4);
    EXPECT_NEAR(g_bossOne.rightSpiralAngle, -6.0, 1e-4);
    RunToTimer(43);
    EXPECT_EQ(g_bossOne.leftSpiralAngle, 0.0f);
    EXPECT_EQ(g_bossOne.rightSpiralAngle, 0.0f);
}

// 0-340 plays twice, then 0-560 once with the cross 3 / ring section from 360.
TEST_F(Stage1BossTest, ScriptCycleRunsTheLongSectionEverySecondPass) {
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

TEST_F(Stage1BossTest, RoundOneCrossesAndTargetFans) {
    SpawnBossOne(0);
    RunToTimer(170);
    EXPECT_EQ(Step().first, 5);  // target fan; crosses reset, sway off
    EXPECT_EQ(g_bossOne.swaySwitch, 0);
    EXPECT_EQ(g_bossOne.targetX, 75);
    EXPECT_EQ(g_bossOne.targetY, 195);
    EXPECT_EQ(Step().first, 8);  // timer 171: both crosses' first quarter
    // Cross A's first bullet: row 1 from the left turret, straight up at 3.
    EXPECT_EQ(g_smallBullets[5].x, static_cast<float>(g_bossOne.x + 25 - 1));
    EXPECT_EQ(g_smallBullets[5].vy, -3.0f);
    RunToTimer(210);
    EXPECT_EQ(Step().second, 0);
    EXPECT_EQ(Step().second, 8);  // cross 2, large, speed 2
    EXPECT_EQ(g_largeBullets[0].vy, -6.0f);
    EXPECT_EQ(g_largeBullets[4].x, static_cast<float>(g_bossOne.x + 95 - 1));  // cross 2's right gun
    RunToTimer(220);
    EXPECT_EQ(Step().first, 0);
    EXPECT_EQ(Step().first, 2);  // spiral 2 fires every frame in round 1
    EXPECT_EQ(Step().first, 2);
}

TEST_F(Stage1BossTest, RoundOneLongSectionCrossThreeAndRing) {
    SpawnBossOne(0);
    for (int f = 0; f < 66 + 341; ++f) UpdateBossOne();
    RunToTimer(360);
    for (int t = 360; t < 366; ++t) EXPECT_EQ(Step().first, 0) << t;
    EXPECT_EQ(Step().first, 8);  // cross 3, interval 6
    for (int t = 367; t < 374; ++t) UpdateBossOne();
    EXPECT_EQ(Step().first, 16);  // the ring on its 15th call
}

TEST_F(Stage1BossTest, RoundTwoIsDenser) {
    g_round = 2;
    SpawnBossOne(0);
    RunToTimer(0);
    EXPECT_EQ(Step().first, 0);
    EXPECT_EQ(Step().first, 4);  // two pairs every frame
    EXPECT_EQ(Step().first, 4);
    EXPECT_NEAR(g_bossOne.leftSpiralAngle, 0.8, 1e-5);
    RunToTimer(145);
    EXPECT_EQ(Step(), std::make_pair(4, 5));  // target fan of large bullets (and the spiral)
    RunToTimer(190);
    UpdateBossOne();
    EXPECT_EQ(Step().second, 8);  // the extra cross 2 at 190
    RunToTimer(230);
    EXPECT_EQ(Step(), std::make_pair(4 + 5, 0));  // small aimed fan at 2.0 (and spiral 2)
    RunToTimer(240);
    EXPECT_EQ(Step(), std::make_pair(4, 5));  // large aimed fan at 3.0
}

TEST_F(Stage1BossTest, SecondAppearanceTwinSpiralAndFan) {
    SpawnBossOne(1);
    RunToTimer(0);
    EXPECT_EQ(Step().first, 0);
    EXPECT_EQ(Step().first, 0);
    EXPECT_EQ(g_bossOne.twinSpiralAngle1, 0.0f);  // the angles turn only when they fire
    EXPECT_EQ(Step().first, 2);
    EXPECT_EQ(g_bossOne.twinSpiralAngle1, 0.15f);
    EXPECT_EQ(g_bossOne.twinSpiralAngle2, -0.15f);
    RunToTimer(12);
    EXPECT_EQ(Step().first, 7 + 2);  // the seven-way fan every 12 frames
    EXPECT_EQ(g_bossOne.entryCounter, 66);

    SetUp();
    g_round = 2;
    SpawnBossOne(1);
    RunToTimer(0);
    EXPECT_EQ(Step().first, 4);  // two pairs every frame from the start
}

// Target fans: two bursts per 61-frame cycle; the tick counts only inside the bursts, and the
// second burst includes cycle 50.
TEST_F(Stage1BossTest, SecondAppearanceTargetFans) {
    SpawnBossOne(1);
    RunToTimer(420);
    int fans[62] = {};
    for (int c = 0; c < 62; ++c) fans[c] = Step().first / 10;  // the twin spiral adds 0 or 2
    for (int c : {3, 6, 9, 12, 15, 18, 31, 34, 37, 40, 43, 46, 49}) EXPECT_EQ(fans[c], 1) << "cycle " << c;
    EXPECT_EQ(fans[19] + fans[21] + fans[30] + fans[50] + fans[52] + fans[60], 0);
    // After cycle 50 the tick is 2, so the next cycle (from frame 61) fires at its second frame.
    EXPECT_EQ(fans[61 + 0], 0);
    UpdateBossOne();
    EXPECT_EQ(g_bossOne.targetFansCycle, 2);
    EXPECT_EQ(g_bossOne.targetFansTick, 1);
}

TEST_F(Stage1BossTest, SecondAppearanceWallOpensAndCloses) {
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
TEST_F(Stage1BossTest, SecondAppearanceSideGunsReuseTheRightGunsTarget) {
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
