// The small enemies and gunships of the first stage: the hoverers' drift, the sinkers' late aim, the
// swayer below the field that keeps counting, and the gunship's frozen aim point. Their paths frame by
// frame are the goldens'.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "enemyfire/enemyfire.h"
#include "player/player.h"
#include "stage/stage.h"
#include "stage/stage_fixture.h"
#include "test_support.h"

namespace {

class SmallKindsTest : public StageFixture {
protected:
    void SetUp() override { StartGameInRound(1); }
};

// ---- droppers and hoverers

TEST_F(SmallKindsTest, HoverersDriftAndFireFansWhileFalling) {
    SpawnHoverersLeftA();
    for (int f = 0; f < 15; ++f) UpdateHoverers(POOL_HOVERERS_LEFT_A);
    EXPECT_EQ(g_enemies[90].x, 15);  // one pixel right in every moving frame
    EXPECT_EQ(SmallBullets(), 0);
    UpdateHoverers(POOL_HOVERERS_LEFT_A);
    EXPECT_EQ(SmallBullets(), 6);  // the uneven six-way fan, 16 frames after starting
    EXPECT_EQ(g_enemies[90].phase, 1);
    // Left pool A enters outer, inner, middle.
    for (int f = 0; f < 25; ++f) UpdateHoverers(POOL_HOVERERS_LEFT_A);
    EXPECT_EQ(g_enemies[92].phase, 1);
    EXPECT_EQ(g_enemies[91].phase, 0);

    SpawnHoverersRightA();
    UpdateHoverers(POOL_HOVERERS_RIGHT_A);
    EXPECT_EQ(g_enemies[93].x, 127);  // the right pool drifts left
}

// ---- swayers

// Only the positions depend on y <= 240: below the field the axis and angle keep stepping.
TEST_F(SmallKindsTest, SwayerBelowTheFieldStopsMovingButKeepsCounting) {
    SpawnSwayersRight2();
    Enemy& e = g_enemies[25];
    UpdateSwayers(POOL_SWAYERS_RIGHT_2);
    e.y = 241;
    const int baseY = e.work1;
    const float angle = FloatField(e.work5);
    UpdateSwayers(POOL_SWAYERS_RIGHT_2);
    EXPECT_EQ(e.y, 241);
    EXPECT_EQ(e.work1, baseY + 1);
    EXPECT_GT(FloatField(e.work5), angle);
}

// ---- plungers and sinkers

TEST_F(SmallKindsTest, SinkersFireFromTheFirstFrameAndAimLater) {
    SpawnSinkersLeftA();
    UpdateSinkers(POOL_SINKERS_LEFT_A);
    EXPECT_EQ(g_enemies[134].y, -22);
    EXPECT_EQ(SmallBullets(), 8);         // four twins, above the field
    EXPECT_EQ(g_smallBullets[0].y, -5.0f);  // origin y -4, stored one up
    for (int f = 1; f <= 50; ++f) UpdateSinkers(POOL_SINKERS_LEFT_A);
    EXPECT_EQ(SmallBullets(), 4 * 6 + 4 * 3);  // three twins, then the first string of three each
    const EnemyBullet& aimed = g_smallBullets[24];
    EXPECT_NEAR(std::hypot(aimed.vx, aimed.vy), 2.0, 1e-5);

    SetUp();
    g_round = 2;
    SpawnSinkersMiddleB();
    for (int f = 1; f <= 80; ++f) UpdateSinkers(POOL_SINKERS_MIDDLE_B);
    EXPECT_EQ(SmallBullets(), 4 * (12 + 4 * 4));  // fan, then four strings of four
    EXPECT_EQ(LargeBullets(), 4 * 2 * 6);         // the fan's twin and five more
}

// ---- fanners and gunners

// ---- gunships

TEST_F(SmallKindsTest, GunshipParksFiresAtTheFrozenPointAndLeaves) {
    SpawnGunshipA();
    LargeEnemy& g = g_largeEnemies[GUNSHIP_A];
    for (int f = 0; f < 50; ++f) UpdateGunship(GUNSHIP_A);
    EXPECT_EQ(g.y, 52);
    UpdateGunship(GUNSHIP_A);  // fire age 50: the aim point is captured
    EXPECT_EQ(g.work5, 75);
    EXPECT_EQ(g.work6, 195);
    g_ships[0].x = 0;  // moving now changes nothing
    for (int f = 51; f <= 55; ++f) UpdateGunship(GUNSHIP_A);
    EXPECT_EQ(SmallBullets(), 0);
    UpdateGunship(GUNSHIP_A);  // age 56
    ASSERT_EQ(SmallBullets(), 5);
    const EnemyBullet& mid = g_smallBullets[2];
    EXPECT_NEAR(std::atan2(mid.vy, mid.vx), std::atan2(195.0 - 79, 75.0 - 69), 1e-5);
    for (int f = 57; f <= 100; ++f) UpdateGunship(GUNSHIP_A);
    EXPECT_EQ(g.y, 52);
    EXPECT_EQ(g.x, 48);
    EXPECT_EQ(SmallBullets(), 4 * 5 + 5 * 2);  // four fans, five wing twins
    UpdateGunship(GUNSHIP_A);
    EXPECT_EQ(g.x, 49);  // slot A leaves to the right
    EXPECT_EQ(g.y, 54);

    SpawnGunshipB();
    for (int f = 0; f <= 101; ++f) UpdateGunship(GUNSHIP_B);
    EXPECT_EQ(g_largeEnemies[GUNSHIP_B].x, 103);  // slot B to the left
}

}  // namespace
