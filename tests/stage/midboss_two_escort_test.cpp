// The second mid-boss and the mid-boss's escort: the swinging wave that turns within one volley, the
// rings that turn opposite ways and overlap only from 200 to 229, the late burst, the leaving, and the
// escort's fans at the target captured the frame before.
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

// Runs `update` once and returns the bullets it added: small, large.
template <typename Update>
std::pair<int, int> Step(Update update) {
    const int small = SmallBullets(), large = LargeBullets();
    update();
    return {SmallBullets() - small, LargeBullets() - large};
}

class MidBossTwoEscortTest : public StageFixture {
protected:
    void SetUp() override { StartGameInRound(1); }
    // Updates the mid-boss until its script is about to process timer value t, then clears the
    // bullets so that the next update's volleys stand alone.
    static void RunMidBossTwoTo(int t) {
        for (int guard = 0; guard < 2000; ++guard) {
            if (g_midBossTwo.entryCounter == 66 && g_midBossTwo.scriptTimer == t) break;
            UpdateMidBossTwo();
        }
        ASSERT_EQ(g_midBossTwo.scriptTimer, t);
        ClearEnemyBullets();
    }
    static std::pair<int, int> StepMidBossTwo() { return Step(UpdateMidBossTwo); }
    static std::pair<int, int> StepEscort() { return Step(UpdateMidBossEscort); }
};

// ---- second mid-boss

// The wave swings between about -0.6 and 0.6. At the top both steps run in the volley where it
// turns round, so that volley leaves the angle where it was; at the bottom it only steps down.
TEST_F(MidBossTwoEscortTest, MidBossTwoWaveSwingsAndTurnsWithinOneVolley) {
    for (int round : {1, 2}) {
        SCOPED_TRACE(round);
        StartGameInRound(round);
        const double step = round == 2 ? 0.08 : 0.04;
        SpawnMidBossTwo();
        RunMidBossTwoTo(1);
        int flips = 0;
        float before = g_midBossTwo.waveAngle;
        int direction = g_midBossTwo.waveDirection;
        for (int guard = 0; g_midBossTwo.scriptTimer < 180; ++guard) {
            ASSERT_LT(guard, 1000);
            UpdateMidBossTwo();
            const float after = g_midBossTwo.waveAngle;
            ASSERT_LE(std::abs(after), 0.6 + step + 1e-6);
            if (direction == 0 && g_midBossTwo.waveDirection == 1) {
                flips += 1;
                EXPECT_NEAR(after, before, 1e-6);  // up a step and down a step
                EXPECT_GE(before + step, 0.6 - 1e-6);
            } else if (direction == 1 && g_midBossTwo.waveDirection == 0) {
                flips += 1;
                EXPECT_NEAR(after, before - step, 1e-6);
                EXPECT_LE(after, -0.6 + 1e-6);
            } else {
                EXPECT_TRUE(after == before || std::abs(std::abs(after - before) - step) < 1e-6);
            }
            before = after;
            direction = g_midBossTwo.waveDirection;
        }
        EXPECT_GE(flips, round == 2 ? 3 : 1);
    }
}

TEST_F(MidBossTwoEscortTest, MidBossTwoRingsFromEachTurretTurnOppositeWays) {
    SpawnMidBossTwo();
    RunMidBossTwoTo(20);
    for (int t = 20; t < 24; ++t) StepMidBossTwo();
    ClearEnemyBullets();
    EXPECT_EQ(StepMidBossTwo().first, 15);  // timer 24: left ring
    EXPECT_EQ(g_smallBullets[0].x, static_cast<float>(52 + 17 - 1));
    EXPECT_EQ(g_smallBullets[0].y, static_cast<float>(36 + 28 - 1));
    EXPECT_NEAR(g_smallBullets[0].vy, -3.0, 1e-6);  // the first spoke straight up
    EXPECT_NEAR(g_midBossTwo.leftRingBase, 0.1, 1e-6);
    for (int t = 25; t < 28; ++t) EXPECT_EQ(StepMidBossTwo().first, 0) << t;
    ClearEnemyBullets();
    EXPECT_EQ(StepMidBossTwo().first, 15);  // every fourth frame
    EXPECT_NEAR(AngleBetween(Heading(g_smallBullets[0]), -std::numbers::pi / 2), 0.1, 1e-5);
    RunMidBossTwoTo(84);
    EXPECT_EQ(StepMidBossTwo().first, 15);  // right ring, its first volley 4 frames after 80
    EXPECT_EQ(g_smallBullets[0].x, static_cast<float>(52 + 73 - 1));
    EXPECT_NEAR(g_midBossTwo.rightRingBase, -0.1, 1e-6);

    StartGameInRound(2);
    SpawnMidBossTwo();
    RunMidBossTwoTo(20);
    for (int t = 20; t < 23; ++t) EXPECT_EQ(StepMidBossTwo().first, 0);
    EXPECT_EQ(StepMidBossTwo().first, 15);  // round 2: every third frame
}

TEST_F(MidBossTwoEscortTest, MidBossTwoRingsOverlapOnlyFromTwoHundredTo229) {
    SpawnMidBossTwo();
    RunMidBossTwoTo(0);
    for (int guard = 0; g_midBossTwo.scriptTimer < 300; ++guard) {
        ASSERT_LT(guard, 1000);
        const int t = g_midBossTwo.scriptTimer;
        UpdateMidBossTwo();
        const bool both = g_midBossTwo.leftRingSwitch == 1 && g_midBossTwo.rightRingSwitch == 1;
        EXPECT_EQ(both, t >= 200 && t <= 229) << t;
    }
}

// The burst's first volley 11 frames after it is switched on; its spokes start at base 0, 0.1,
// 0.2, 0.3 in turn, then 0 again.
TEST_F(MidBossTwoEscortTest, MidBossTwoBurstStartsLateAndStepsItsBase) {
    SpawnMidBossTwo();
    RunMidBossTwoTo(260);
    for (int t = 260; t < 270; ++t) EXPECT_EQ(StepMidBossTwo().first, 0) << t;
    EXPECT_EQ(StepMidBossTwo().first, 16 * 3);  // timer 270: 16 spokes of three from base 0
    EXPECT_NEAR(Speed(g_smallBullets[0]), 3.0, 1e-5);
    EXPECT_NEAR(AngleBetween(Heading(g_smallBullets[1]), -std::numbers::pi / 2), 0.1, 1e-5);
    const float bases[] = {0.1f, 0.2f, 0.3f, 0.0f};
    for (float base : bases) {
        EXPECT_NEAR(g_midBossTwo.burstBase, base, 1e-6);
        for (int f = 0; f < 9; ++f) StepMidBossTwo();
        ClearEnemyBullets();
        const int fired = StepMidBossTwo().first;
        EXPECT_EQ(fired, base > 0.25f ? 15 * 3 : 16 * 3) << base;  // from 0.3 the 16th spoke passes 6.28
    }

    StartGameInRound(2);
    SpawnMidBossTwo();
    RunMidBossTwoTo(260);
    for (int t = 260; t < 268; ++t) EXPECT_EQ(StepMidBossTwo().first, 0) << t;
    EXPECT_EQ(StepMidBossTwo().first, 16 * 3);
    EXPECT_NEAR(Speed(g_smallBullets[0]), 4.0, 1e-5);
}

TEST_F(MidBossTwoEscortTest, MidBossTwoLeavesToTheLowerRightFiringNothingNew) {
    SpawnMidBossTwo();
    RunMidBossTwoTo(800);
    UpdateMidBossTwo();
    EXPECT_EQ(g_midBossTwo.leaving, 1);
    const int x = g_midBossTwo.x, y = g_midBossTwo.y;
    ClearEnemyBullets();
    for (int f = 1; f <= 100; ++f) {
        EXPECT_EQ(StepMidBossTwo(), std::make_pair(0, 0));
        ASSERT_EQ(g_midBossTwo.x, x + f);
        ASSERT_EQ(g_midBossTwo.y, y + 2 * f);
    }
}

// ---- escort

// Fans of twelve with a gap on the aim line, one per speed, every 30 frames at a target
// captured one frame before they fire.
TEST_F(MidBossTwoEscortTest, EscortFansAtTheTargetCapturedTheFrameBefore) {
    for (int round : {1, 2}) {
        SCOPED_TRACE(round);
        StartGameInRound(round);
        SpawnMidBossEscort();
        for (int f = 0; f < 26 + 10 + 29; ++f) UpdateMidBossEscort();
        EXPECT_EQ(g_midBossEscort.fanTimer, 29);
        UpdateMidBossEscort();  // capture at (75, 195)
        EXPECT_EQ(g_midBossEscort.targetX, 75);
        EXPECT_EQ(g_midBossEscort.targetY, 195);
        g_ships[0].x += 40;  // the fans still go where the ship was
        ClearEnemyBullets();
        const int fans = round == 2 ? 3 : 2;
        EXPECT_EQ(StepEscort().first, (round == 2 ? 8 : 4) + 12 * fans);  // with the spray's volley
        const int first = round == 2 ? 8 : 4;
        const double gx = g_midBossEscort.x + 45, gy = g_midBossEscort.y + 21;
        EXPECT_EQ(g_smallBullets[first].x, static_cast<float>(gx - 1));
        const double aim = std::atan2(195 - gy, 75 - gx);
        for (int i = 0; i < 12 * fans; ++i) {
            const EnemyBullet& b = g_smallBullets[first + i];
            const double off = AngleBetween(Heading(b), aim);
            EXPECT_NEAR(off, -1.1 + 0.2 * (i % 12), 1e-4) << i;
            EXPECT_GT(std::abs(off), 0.09) << i;  // nothing along the aim line
            EXPECT_NEAR(Speed(b), 2.0 + i / 12, 1e-4) << i;
        }
        g_ships[0].x -= 40;
        for (int f = 0; f < 29; ++f) UpdateMidBossEscort();
        ClearEnemyBullets();
        EXPECT_GE(StepEscort().first, 12 * fans);  // 30 frames later
    }
}

}  // namespace
