// The recurring mid-boss: the frame it starts leaving, and what each of its four variants fires and at
// what, in both rounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "enemyfire/enemyfire.h"
#include "platform/platform.h"
#include "player/player.h"
#include "stage/stage.h"
#include "stage/stage_fixture.h"
#include "test_support.h"

namespace {

// Runs the mid-boss to the end of update `update` (counted from 1 after the spawn), clearing the
// bullets before it when asked so that a frame's volley can be counted alone.
class MidBossTest : public StageFixture {
protected:
    void SetUp() override { StartGameInRound(1); }
    void RunTo(int update) {
        while (updates_ < update) {
            UpdateMidBoss();
            ++updates_;
        }
    }
    // Runs up to the update before `update`, clears the bullets, runs `update`.
    void RunAlone(int update) {
        RunTo(update - 1);
        ClearEnemyBullets();
        RunTo(update);
    }
    int updates_ = 0;
};

TEST_F(MidBossTest, LeavesAfterTwelveSwingsWithoutFiring) {
    SpawnMidBoss(0);
    RunTo(746);
    EXPECT_EQ(g_midBoss.leaving, 0);
    RunTo(747);
    EXPECT_EQ(g_midBoss.swingCount, 12);
    EXPECT_EQ(g_midBoss.leaving, 1);
    EXPECT_EQ(g_midBoss.x, 72);
    ClearEnemyBullets();
    RunTo(748);
    EXPECT_EQ(g_midBoss.x, 71);
    EXPECT_EQ(g_midBoss.y, 37);
    RunTo(900);
    EXPECT_EQ(SmallBullets() + LargeBullets(), 0);
    EXPECT_EQ(g_midBoss.y, 34 + 3 * 153);
}

TEST_F(MidBossTest, VariantZeroOpensWithTurnedRingGroups) {
    SpawnMidBoss(0);
    RunAlone(27);  // first swing frame, script timer 0: ring group A 2, ring group B 3
    ASSERT_EQ(SmallBullets(), 80);
    const EnemyBullet& first = g_smallBullets[0];
    EXPECT_FLOAT_EQ(first.x, static_cast<float>(72 + 45 - 1));
    EXPECT_FLOAT_EQ(first.y, static_cast<float>(34 + 21 - 1));
    EXPECT_NEAR(Speed(first), 2.0, 1e-5);
    EXPECT_NEAR(Turn(UP, Heading(first)), -0.2, 1e-6);
    EXPECT_NEAR(Turn(UP, Heading(g_smallBullets[1])), -0.2 + std::numbers::pi / 4, 1e-6);
    EXPECT_NEAR(Turn(UP, Heading(g_smallBullets[8])), -0.1, 1e-6);
    EXPECT_NEAR(Speed(g_smallBullets[40]), 3.0, 1e-5);
    EXPECT_NEAR(Turn(UP, Heading(g_smallBullets[40])), 1.8, 1e-6);
    RunAlone(28);
    EXPECT_EQ(SmallBullets(), 0);
    RunAlone(47);  // timer 20: A 3, B 2
    ASSERT_EQ(SmallBullets(), 80);
    EXPECT_NEAR(Speed(g_smallBullets[0]), 3.0, 1e-5);
    EXPECT_NEAR(Speed(g_smallBullets[40]), 2.0, 1e-5);
}

TEST_F(MidBossTest, VariantZeroSpraysFromTheTurretsAfterTimer120) {
    SpawnMidBoss(0);
    RunAlone(150);
    EXPECT_EQ(SmallBullets(), 0);
    EXPECT_EQ(g_midBoss.spraySwitch, 1);
    RunAlone(151);  // four frames after the switch-on
    ASSERT_EQ(SmallBullets(), 6);
    const int x = g_midBoss.x;
    // Left, right, left, right, left, right; -0.05, 0, +0.05 around straight up.
    const double turns[6] = {-0.05, -0.05, 0, 0, 0.05, 0.05};
    for (int k = 0; k < 6; ++k) {
        EXPECT_FLOAT_EQ(g_smallBullets[k].x, static_cast<float>(x + (k % 2 == 0 ? 22 : 68) - 1)) << k;
        EXPECT_FLOAT_EQ(g_smallBullets[k].y, static_cast<float>(34 + 29 - 1));
        EXPECT_NEAR(Speed(g_smallBullets[k]), 3.0, 1e-5);
        EXPECT_NEAR(Turn(UP, Heading(g_smallBullets[k])), turns[k], 1e-6) << k;
    }
    RunAlone(154);
    EXPECT_EQ(SmallBullets(), 0);
    RunAlone(155);  // the turrets turn 0.6 apart per volley
    ASSERT_EQ(SmallBullets(), 6);
    EXPECT_NEAR(Turn(UP, Heading(g_smallBullets[2])), 0.6, 1e-6);
    EXPECT_NEAR(Turn(UP, Heading(g_smallBullets[3])), -0.6, 1e-6);
}

TEST_F(MidBossTest, VariantZeroFansAimWhereTheShipWasOneFrameEarlier) {
    SpawnMidBoss(0);
    RunTo(205);
    g_ships[0].x = 20;  // captured in update 206: hit pixel (31, 195)
    RunTo(206);
    g_ships[0].x = 150;
    ClearEnemyBullets();
    RunTo(207);  // 60 frames after the switch-on in update 147
    // The spray fires too (every fourth frame from 151 on): 26 fan bullets plus 6.
    ASSERT_EQ(SmallBullets(), 32);
    const double mx = g_midBoss.x + 45, my = 34 + 21;
    const double aim = std::atan2(195 - my, 31 - mx);
    int fan = 0;
    for (const EnemyBullet& b : g_smallBullets) {
        if (b.alive != 1 || b.x != static_cast<float>(mx - 1)) continue;
        EXPECT_NEAR(Turn(aim, Heading(b)), -0.6 + 0.1 * (fan % 13), 1e-5) << fan;
        EXPECT_NEAR(Speed(b), fan < 13 ? 2.0 : 3.0, 1e-5);
        ++fan;
    }
    EXPECT_EQ(fan, 26);
}

TEST_F(MidBossTest, VariantOneSpraysAndFansThenTurnsLargeRings) {
    SpawnMidBoss(1);
    RunTo(26);
    EXPECT_EQ(g_midBoss.x, 75);
    EXPECT_EQ(g_midBoss.y, 34);
    RunAlone(38);
    EXPECT_EQ(SmallBullets(), 0);
    RunAlone(39);  // script timer 12: every second frame from timer 10
    EXPECT_EQ(SmallBullets(), 6);
    RunAlone(66);
    EXPECT_EQ(SmallBullets(), 0);
    RunAlone(67);  // timer 40: fans 2.0 and 3.0 (26) and a spray volley
    EXPECT_EQ(SmallBullets(), 32);
    RunAlone(97);  // timer 70
    EXPECT_EQ(SmallBullets(), 32);
    RunTo(127);  // switched off at timer 100
    ClearEnemyBullets();
    RunTo(148);
    EXPECT_EQ(SmallBullets() + LargeBullets(), 0);
    TakeSoundCount(SoundEffect::EnemyFire);
    RunTo(149);  // timer 122: the first ring, 35 large bullets from angle 0
    ASSERT_EQ(LargeBullets(), 35);
    EXPECT_EQ(TakeSoundCount(SoundEffect::EnemyFire), 1);
    EXPECT_NEAR(Speed(g_largeBullets[0]), 4.0, 1e-5);
    EXPECT_NEAR(Turn(UP, Heading(g_largeBullets[0])), 0.0, 1e-6);
    EXPECT_NEAR(Turn(UP, Heading(g_largeBullets[1])), 0.18, 1e-6);
    EXPECT_EQ(SmallBullets(), 0);
    RunAlone(161);  // twelve frames on, turned 0.08
    ASSERT_EQ(LargeBullets(), 35);
    EXPECT_NEAR(Turn(UP, Heading(g_largeBullets[0])), 0.08, 1e-6);
    RunAlone(173);
    ASSERT_EQ(LargeBullets(), 35);
    EXPECT_NEAR(Turn(UP, Heading(g_largeBullets[0])), 0.16, 1e-6);
    RunAlone(185);
    EXPECT_NEAR(Turn(UP, Heading(g_largeBullets[0])), 0.0, 1e-6);
    RunTo(26 + 6 * 60 + 1);
    EXPECT_EQ(g_midBoss.leaving, 1);  // six swings
}

TEST_F(MidBossTest, VariantTwoFiresFourShotSpraysAndGappedFans) {
    SpawnMidBoss(2);
    RunTo(26);
    EXPECT_EQ(g_midBoss.x, 75);
    EXPECT_EQ(g_midBoss.y, 24);
    RunAlone(39);
    ASSERT_EQ(SmallBullets(), 4);
    const double turns[4] = {0, 0, 0.05, 0.05};
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(Turn(UP, Heading(g_smallBullets[k])), turns[k], 1e-6);
    RunAlone(67);  // timer 40: twelve at 2.0, twelve at 3.0, with the spray
    ASSERT_EQ(SmallBullets(), 28);
    const double aim = std::atan2(195.0 - (24 + 21), 75.0 - (g_midBoss.x + 45));
    int fan = 0;
    for (const EnemyBullet& b : g_smallBullets) {
        if (b.alive != 1 || b.x != static_cast<float>(g_midBoss.x + 44)) continue;
        EXPECT_NEAR(Turn(aim, Heading(b)), -1.1 + 0.2 * (fan % 12), 1e-5) << fan;
        ++fan;
    }
    EXPECT_EQ(fan, 24);
    RunAlone(227);  // nothing switches it off: timer 200 still sprays
    EXPECT_EQ(SmallBullets(), 4);
}

TEST_F(MidBossTest, VariantThreeFiresAJitteredGapFanEveryTwentyFrames) {
    SpawnMidBoss(3);
    g_aimJitter = -0.02f;
    RunTo(26);
    EXPECT_EQ(g_midBoss.x, 75);
    EXPECT_EQ(g_midBoss.y, 24);
    RunAlone(46);
    EXPECT_EQ(SmallBullets(), 0);
    RunAlone(47);  // 21st swing frame
    ASSERT_EQ(SmallBullets(), 12);
    const double aim = std::atan2(195.0 - (24 + 21), 75.0 - (g_midBoss.x + 45));
    EXPECT_NEAR(Turn(aim, Heading(g_smallBullets[0])), -0.02 - 1.1, 1e-5);
    EXPECT_NEAR(Turn(aim, Heading(g_smallBullets[6])), -0.02 + 0.1, 1e-5);
    RunAlone(67);
    EXPECT_EQ(SmallBullets(), 12);
    RunTo(26 + 30 * 60);
    EXPECT_EQ(g_midBoss.leaving, 0);
    RunTo(27 + 30 * 60);
    EXPECT_EQ(g_midBoss.leaving, 1);  // thirty swings
}

}  // namespace
