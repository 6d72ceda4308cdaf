// The fourth boss: the cover plate and pods with their clank, the pattern-B fan that inherits the
// angle the double ring left, and the swing that starts at 40. Its patterns frame by frame are the
// whole-game golden's.
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

class BossFourTest : public StageFixture {
protected:
    void SetUp() override { StartGameInRound(1); }

    // One update from empty pools.
    static Volley Step() { return Fired(UpdateBossFour); }

    static void Arrive() {
        SpawnBossFour();
        RunUntil(UpdateBossFour, [] { return g_bossFour.entered != 0; });
    }

    // Runs until the next frame's script timer reads t.
    static void RunTo(int t) { RunUntil(UpdateBossFour, [t] { return g_bossFour.scriptTimer == t; }); }
};

TEST_F(BossFourTest, DescendsThenSlidesTheCoverAndSpreadsThePods) {
    SpawnBossFour();
    for (int n = 1; n <= 22; ++n) {
        Step();
        ASSERT_EQ(g_bossFour.entered, 0);
        ASSERT_EQ(g_bossFour.coverOffset, 90);
    }
    EXPECT_EQ(g_bossFour.y, 12);
    TakeSounds();
    Step();  // arrives; t = 0 starts the cover at once
    EXPECT_EQ(g_bossFour.entered, 1);
    EXPECT_EQ(g_bossFour.coverOffset, 91);
    for (int t = 1; t <= 9; ++t) Step();
    EXPECT_EQ(g_bossFour.coverOffset, 100);
    EXPECT_FALSE((TakeSoundCount(SoundEffect::BossAction) != 0));
    Step();  // t = 10: 101, the cover is down
    EXPECT_EQ(g_bossFour.coverOffset, 101);
    EXPECT_EQ(g_bossFour.coverSwitch, 0);
    EXPECT_TRUE((TakeSoundCount(SoundEffect::BossAction) != 0));
    EXPECT_EQ(g_bossFour.rightPodOffset, 6);
    for (int t = 11; t <= 29; ++t) Step();
    EXPECT_EQ(g_bossFour.rightPodOffset, 44);
    EXPECT_FALSE((TakeSoundCount(SoundEffect::BossAction) != 0));
    Step();  // t = 30: the twentieth pod step
    EXPECT_EQ(g_bossFour.rightPodOffset, 46);
    EXPECT_EQ(g_bossFour.leftPodOffset, -38);
    EXPECT_EQ(g_bossFour.podsSwitch, 0);
    EXPECT_TRUE((TakeSoundCount(SoundEffect::BossAction) != 0));
    RunTo(60);
    EXPECT_EQ(g_bossFour.coverOffset, 101);
    EXPECT_EQ(g_bossFour.rightPodOffset, 46);
}

TEST_F(BossFourTest, PatternBFanCarriesTheAngleTheDoubleRingLeft) {
    Arrive();
    // The boss fires before it swings, so the guns stand where the last frame left it.
    RunTo(580);
    int x = g_bossFour.x, y = g_bossFour.y;
    Step();  // the first fan, before any ring: straight at the ship
    ASSERT_EQ(LiveBullets(g_largeBullets, LARGE_BULLET_COUNT), 10);
    const double aimRight = std::atan2(195 - (y + 78), 75 - (x + 54));
    EXPECT_NEAR(Turn(aimRight, Heading(g_largeBullets[2])), 0.0, 1e-5);
    EXPECT_EQ(g_largeBullets[5].x, static_cast<float>(x - 15));  // the left half from x - 14
    RunTo(600);
    x = g_bossFour.x;
    Step();  // the double ring: 12 spokes of ten, its left spokes from x - 12
    EXPECT_EQ(g_smallBullets[7].x, static_cast<float>(x - 13));  // after the spiral pair
    EXPECT_NEAR(g_bossFour.ringAngle, 12 * 0.524, 1e-5);
    RunTo(620);
    x = g_bossFour.x;
    y = g_bossFour.y;
    Step();
    ASSERT_EQ(LiveBullets(g_largeBullets, LARGE_BULLET_COUNT), 10);
    const double aimNow = std::atan2(195 - (y + 78), 75 - (x + 54));
    EXPECT_NEAR(Turn(aimNow, Heading(g_largeBullets[2])), 12 * 0.524 - 2 * std::numbers::pi, 1e-5);
    EXPECT_NEAR(Turn(aimNow, Heading(g_largeBullets[0])), 12 * 0.524 - 2 * std::numbers::pi - 0.2, 1e-5);
}

TEST_F(BossFourTest, SwaysOnlyFromFortyAboutX80) {
    Arrive();
    RunTo(40);
    EXPECT_EQ(g_bossFour.x, 80);
    EXPECT_EQ(g_bossFour.y, 12);
    Step();  // angle 0: where the descent stopped
    EXPECT_EQ(g_bossFour.x, 80);
    EXPECT_EQ(g_bossFour.y, 12);
    RunTo(40 + 53);  // 53 swings: the last at 52 x 0.03 = 1.56
    EXPECT_EQ(g_bossFour.x, 99);
    EXPECT_EQ(g_bossFour.y, 10);
}

}  // namespace
