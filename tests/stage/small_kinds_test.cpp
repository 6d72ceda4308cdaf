// The small enemies and gunships of the first stage: entry orders, the trajectories the kinds
// promise in numbers, the frame of each first volley and the size of the round-2 volleys.
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

TEST_F(SmallKindsTest, DropperFallsEightyOnePixelsThenStandsFiveFrames) {
    SpawnDroppersLeft();
    const Enemy& first = g_enemies[2];  // the first to enter, in the first frame
    std::vector<int> ys;
    for (int f = 1; f <= 26; ++f) {
        UpdateDroppers(POOL_DROPPERS_LEFT);
        ys.push_back(first.y);
    }
    EXPECT_EQ(ys[0], -17);      // 7 pixels in its first frame
    EXPECT_EQ(ys[17], 57);      // 81 pixels in 18 frames
    EXPECT_EQ(first.phase, 3);
    for (int f = 19; f <= 23; ++f) EXPECT_EQ(ys[f - 1], 57) << "frame " << f;  // stands 5 frames
    EXPECT_EQ(ys[23], 59);      // sinks 2 a frame from the 24th
    EXPECT_EQ(ys[24], 61);
    // First volley 8 frames after the stop (the 19th frame): the 26th.
    EXPECT_EQ(SmallBullets(), 1);
    EXPECT_EQ(first.x, 48);
}

TEST_F(SmallKindsTest, DroppersEnterInTheScrambledOrder) {
    SpawnDroppersRight();
    const int order[5] = {2, 4, 0, 3, 1};
    for (int k = 0; k < 5; ++k) {
        // Record order[k] is released in frame 20k + 1 and moves in that same frame.
        for (int f = 0; f < (k == 0 ? 1 : 20); ++f) UpdateDroppers(POOL_DROPPERS_RIGHT);
        EXPECT_EQ(g_enemies[5 + order[k]].phase, 1) << "member " << order[k];
        EXPECT_EQ(g_enemies[5 + order[k]].y, -17) << "member " << order[k];
        if (k < 4) {
            EXPECT_EQ(g_enemies[5 + order[k + 1]].phase, 0);
        }
    }
}

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

TEST_F(SmallKindsTest, SwayerFirstMotionFrameAndSnakeEntry) {
    SpawnSwayersLeft1();
    SpawnSwayersRight1();
    UpdateSwayers(POOL_SWAYERS_LEFT_1);
    UpdateSwayers(POOL_SWAYERS_RIGHT_1);
    EXPECT_EQ(g_enemies[10].x, 40);
    EXPECT_EQ(g_enemies[10].y, -22);
    EXPECT_EQ(g_enemies[15].x, 140);
    EXPECT_EQ(g_enemies[15].y, -22);
    EXPECT_EQ(g_enemies[11].x, 160);  // still waiting at the spawn point
    for (int f = 0; f < 7; ++f) UpdateSwayers(POOL_SWAYERS_LEFT_1);
    EXPECT_EQ(g_enemies[11].x, 40);  // the next member 7 frames later, same point
    EXPECT_EQ(g_enemies[11].y, -22);
}

TEST_F(SmallKindsTest, SwayerFirstVolleyFrameByRound) {
    for (int round = 1; round <= 2; ++round) {
        SetUp();
        g_round = round;
        SpawnSwayersLeft2();
        for (int i = 21; i < 25; ++i) g_enemies[i].alive = 0;
        const int first = round == 1 ? 23 : 19;
        for (int f = 1; f < first; ++f) UpdateSwayers(POOL_SWAYERS_LEFT_2);
        EXPECT_EQ(SmallBullets(), 0) << "round " << round;
        UpdateSwayers(POOL_SWAYERS_LEFT_2);
        EXPECT_EQ(SmallBullets(), round == 1 ? 1 : 3) << "round " << round;
        for (int f = 0; f < 100; ++f) UpdateSwayers(POOL_SWAYERS_LEFT_2);
        EXPECT_EQ(SmallBullets(), round == 1 ? 5 : 24) << "round " << round;
    }
}

TEST_F(SmallKindsTest, WideSwayerSwingTakesSixtyThreeFrames) {
    SpawnWideSwayersA();
    Enemy& e = g_enemies[50];
    int baseYAtHalf = 0;
    for (int f = 1; f <= 63; ++f) {
        UpdateWideSwayers(POOL_WIDE_SWAYERS_A);
        if (f == 32) baseYAtHalf = e.work1;
    }
    EXPECT_GE(FloatField(e.work5), 6.28f);  // 63 steps of 0.1
    EXPECT_EQ(baseYAtHalf, -24 + 32);          // one pixel a frame while the angle is below 3.14
    // Positions come from the angle before the wrap: 6.3 gives one pixel right of the centre.
    UpdateWideSwayers(POOL_WIDE_SWAYERS_A);
    EXPECT_EQ(e.x, 81);
    EXPECT_EQ(FloatField(e.work5), static_cast<float>(0.0 + 0.1));  // wrapped, then stepped
    // Half a swing: at frame 17 the angle is 1.6, the far right edge.
    SpawnWideSwayersB();
    for (int f = 1; f <= 17; ++f) UpdateWideSwayers(POOL_WIDE_SWAYERS_B);
    EXPECT_EQ(g_enemies[60].x, 159);
}

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

TEST_F(SmallKindsTest, PlungerFirstTwinInTwelfthFallingFrame) {
    SpawnPlungersA();
    const Enemy& p = g_enemies[32];  // first of the line to enter
    for (int f = 0; f < 11; ++f) UpdatePlungers(POOL_PLUNGERS_A);
    EXPECT_EQ(SmallBullets(), 0);
    UpdatePlungers(POOL_PLUNGERS_A);
    EXPECT_EQ(p.y, 12);
    ASSERT_EQ(SmallBullets(), 2);
    // A twin from (x + 9, y + 18) = (47, 30), five pixels either side, falling at 4.
    EXPECT_EQ(g_smallBullets[0].x, 41.0f);
    EXPECT_EQ(g_smallBullets[1].x, 51.0f);
    EXPECT_EQ(g_smallBullets[0].y, 29.0f);
    EXPECT_EQ(g_smallBullets[0].vy, 4.0f);
    // Entry order 2, 8, 0, 6, ... 20 frames apart.
    for (int f = 0; f < 9; ++f) UpdatePlungers(POOL_PLUNGERS_A);
    EXPECT_EQ(g_enemies[38].phase, 1);
    EXPECT_EQ(g_enemies[30].phase, 0);
}

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

TEST_F(SmallKindsTest, FannerFiresInItsTwentyFirstDivingFrame) {
    g_round = 2;
    SpawnFannersLeftA();
    const Enemy& e = g_enemies[72];  // first to dive
    for (int f = 0; f < 20; ++f) UpdateFanners(POOL_FANNERS_LEFT_A);
    EXPECT_EQ(SmallBullets(), 0);
    UpdateFanners(POOL_FANNERS_LEFT_A);
    EXPECT_EQ(e.y, 60);
    EXPECT_EQ(SmallBullets(), 15);
    for (int f = 0; f < 10; ++f) UpdateFanners(POOL_FANNERS_LEFT_A);
    EXPECT_EQ(e.y, 100);
    // The second member (record 4) entered 8 frames after the first.
    EXPECT_EQ(SmallBullets(), 15 + 15 + 15);
    // The fan's middle bullet flies straight at the ship at 3.0.
    const EnemyBullet& mid = g_smallBullets[2];
    EXPECT_NEAR(std::atan2(mid.vy, mid.vx), std::atan2(195.0 - 78, 75.0 - 49), 1e-5);
}

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
