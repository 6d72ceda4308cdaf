// Strafers, arcers and spinners: the arcer's jittered fan and the spinner's spray that turns from
// straight up. Their release order and paths frame by frame are the goldens'.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "enemyfire/enemyfire.h"
#include "player/player.h"
#include "stage/stage.h"
#include "stage/stage_fixture.h"
#include "test_support.h"

namespace {

// Angle difference folded into (-pi, pi].

// Keeps only record `keep` of a pool alive.
void KeepOnly(const EnemyPool& pool, int keep) {
    for (int i = pool.first; i < pool.first + pool.count; ++i) {
        if (i != keep) g_enemies[i].alive = 0;
    }
}

class StrafersArcersSpinnersTest : public StageFixture {
protected:
    void SetUp() override { StartGameInRound(1); }
};

// ---- strafers

// ---- arcers

TEST_F(StrafersArcersSpinnersTest, ArcerFiresOneJitteredFanAtFireCountSixteen) {
    SpawnArcersFromLeftB();
    KeepOnly(POOL_ARCERS_FROM_LEFT_B, 126);
    g_aimJitter = 0.05f;
    for (int f = 1; f <= 8 + 16; ++f) UpdateArcers(POOL_ARCERS_FROM_LEFT_B);
    EXPECT_EQ(SmallBullets(), 0);
    UpdateArcers(POOL_ARCERS_FROM_LEFT_B);  // 17th moving frame: the counter reads 16
    const Enemy& e = g_enemies[126];
    EXPECT_EQ(e.y, 14);
    ASSERT_EQ(SmallBullets(), 3);
    const double aim = std::atan2(195.0 - (e.y + 18), 75.0 - (e.x + 9));
    const double fan[3] = {-0.3, 0, 0.3};
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(Speed(g_smallBullets[k]), 4.0, 1e-5);
        EXPECT_NEAR(Turn(aim, Heading(g_smallBullets[k])), 0.05 + fan[k], 1e-5);
    }
    for (int f = 0; f < 30; ++f) UpdateArcers(POOL_ARCERS_FROM_LEFT_B);
    EXPECT_EQ(SmallBullets(), 3);  // once only
}

// ---- spinners

TEST_F(StrafersArcersSpinnersTest, SpinnerSpraysSixteenShotsTurningFromStraightUp) {
    SpawnSpinnersLeftA();
    KeepOnly(POOL_SPINNERS_LEFT_A, 173);
    for (int f = 1; f <= 3; ++f) UpdateSpinners(POOL_SPINNERS_LEFT_A);
    EXPECT_EQ(SmallBullets(), 0);
    UpdateSpinners(POOL_SPINNERS_LEFT_A);  // 4th active frame
    ASSERT_EQ(SmallBullets(), 1);
    // From where it stood before this frame's sink: y -18, origin (33, 0).
    EXPECT_FLOAT_EQ(g_smallBullets[0].x, 32.0f);
    EXPECT_FLOAT_EQ(g_smallBullets[0].y, -1.0f);
    EXPECT_NEAR(g_smallBullets[0].vx, 0.0, 1e-6);
    EXPECT_NEAR(g_smallBullets[0].vy, -3.0, 1e-6);
    for (int f = 5; f <= 80; ++f) UpdateSpinners(POOL_SPINNERS_LEFT_A);
    ASSERT_EQ(SmallBullets(), 16);
    const double up = -std::numbers::pi / 2;
    EXPECT_NEAR(Turn(up, Heading(g_smallBullets[1])), 0.3, 1e-6);  // clockwise on the left
    EXPECT_NEAR(Turn(up, Heading(g_smallBullets[15])), 4.5 - 2 * std::numbers::pi, 1e-5);
    EXPECT_EQ(g_enemies[173].y, -24 + 2 * 80);  // sinks on after firing
}

}  // namespace
