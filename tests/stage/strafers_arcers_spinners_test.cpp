// Strafers, arcers and spinners: release and entry timing, the paths the kinds promise in
// numbers, the frame and shape of each volley and the round-2 variants.
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

TEST_F(StrafersArcersSpinnersTest, StrafersLeaveOneEveryFifteenFramesInIndexOrder) {
    SpawnStrafersLeft();
    for (int update = 1; update <= 121; ++update) {
        UpdateStrafers(POOL_STRAFERS_LEFT);
        for (int k = 0; k < 8; ++k) {
            const Enemy& e = g_enemies[102 + k];
            const int release = 16 + 15 * k;
            ASSERT_EQ(e.phase, update >= release ? 1 : 0) << "member " << k << " update " << update;
            // Moves in its release frame: 1 sideways and 4 down a frame.
            if (update >= release) {
                ASSERT_EQ(e.y, -24 + 4 * (update - release + 1));
                ASSERT_EQ(e.x, 16 + (update - release + 1));
            } else {
                ASSERT_EQ(e.y, -24);
            }
        }
    }
    SpawnStrafersRight();
    for (int update = 1; update <= 16; ++update) UpdateStrafers(POOL_STRAFERS_RIGHT);
    EXPECT_EQ(g_enemies[110].x, 167);
    EXPECT_EQ(g_enemies[110].y, -20);
}

TEST_F(StrafersArcersSpinnersTest, StraferBurstsInItsEleventhMovingFrameAtY20) {
    SpawnStrafersLeft();
    KeepOnly(POOL_STRAFERS_LEFT, 102);
    for (int f = 1; f <= 15 + 10; ++f) UpdateStrafers(POOL_STRAFERS_LEFT);
    EXPECT_EQ(SmallBullets(), 0);
    UpdateStrafers(POOL_STRAFERS_LEFT);  // 11th moving frame
    const Enemy& e = g_enemies[102];
    EXPECT_EQ(e.y, 20);
    ASSERT_EQ(SmallBullets(), 21);  // two eight-way rings and a five-way fan
    // Every bullet leaves from (x + 9, y + 18), stored one pixel up and left.
    for (int i = 0; i < 21; ++i) {
        EXPECT_FLOAT_EQ(g_smallBullets[i].x, static_cast<float>(e.x + 8));
        EXPECT_FLOAT_EQ(g_smallBullets[i].y, 37.0f);
    }
    const double up = -std::numbers::pi / 2;
    EXPECT_NEAR(Turn(up, Heading(g_smallBullets[0])), 0.0, 1e-6);
    EXPECT_NEAR(Speed(g_smallBullets[0]), 3.0, 1e-5);
    EXPECT_NEAR(Turn(up, Heading(g_smallBullets[8])), 2.0, 1e-6);  // the second ring, turned
    const double aim = std::atan2(195.0 - 38.0, 75.0 - (e.x + 9));
    const double fan[5] = {-0.4, -0.2, 0, 0.2, 0.4};
    for (int k = 0; k < 5; ++k) {
        EXPECT_NEAR(Speed(g_smallBullets[16 + k]), 4.0, 1e-5);
        EXPECT_NEAR(Turn(aim, Heading(g_smallBullets[16 + k])), fan[k], 1e-5);
    }
    // Nothing more in round 1.
    for (int f = 0; f < 40; ++f) UpdateStrafers(POOL_STRAFERS_LEFT);
    EXPECT_EQ(SmallBullets(), 21);
}

// ---- arcers

TEST_F(StrafersArcersSpinnersTest, ArcerFliesItsBallisticArc) {
    SpawnArcersFromLeftA();
    KeepOnly(POOL_ARCERS_FROM_LEFT_A, 118);
    for (int f = 1; f <= 8; ++f) UpdateArcers(POOL_ARCERS_FROM_LEFT_A);
    const Enemy& e = g_enemies[118];
    EXPECT_EQ(e.phase, 0);
    int ys[55] = {};
    for (int n = 1; n <= 54; ++n) {
        UpdateArcers(POOL_ARCERS_FROM_LEFT_A);
        ys[n] = e.y;
    }
    EXPECT_EQ(ys[1], 54);
    EXPECT_EQ(ys[14], 12);  // top of the arc
    int top = ys[1];
    for (int n = 1; n <= 54; ++n) top = std::min(top, ys[n]);
    EXPECT_EQ(top, 12);
    EXPECT_EQ(ys[27], 54);
    EXPECT_EQ(e.work1, 7);  // full falling speed, kept
    EXPECT_EQ(ys[53], 236);
    EXPECT_EQ(ys[54], 243);  // out through the bottom in the 54th frame
    EXPECT_EQ(e.x, -24 + 216);

    SpawnArcersFromRightB();
    for (int f = 1; f <= 9; ++f) UpdateArcers(POOL_ARCERS_FROM_RIGHT_B);
    EXPECT_EQ(g_enemies[130].x, 196);
    EXPECT_EQ(g_enemies[130].y, 54);
}

TEST_F(StrafersArcersSpinnersTest, ArcersLeaveOneEveryEightFrames) {
    SpawnArcersFromRightA();
    for (int update = 1; update <= 33; ++update) {
        UpdateArcers(POOL_ARCERS_FROM_RIGHT_A);
        for (int k = 0; k < 4; ++k) {
            ASSERT_EQ(g_enemies[122 + k].phase, update >= 9 + 8 * k ? 1 : 0) << "member " << k << " update " << update;
        }
    }
    EXPECT_EQ(g_enemies[125].x, 196);  // the last one, released and moved in update 33
}

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

TEST_F(StrafersArcersSpinnersTest, SpinnersEnterInPairsFifteenFramesApart) {
    SpawnSpinnersLeftB();
    const int start[6] = {1, 1, 16, 16, 31, 31};
    for (int update = 1; update <= 31; ++update) {
        UpdateSpinners(POOL_SPINNERS_LEFT_B);
        for (int k = 0; k < 6; ++k) {
            const Enemy& e = g_enemies[185 + k];
            ASSERT_EQ(e.phase, update >= start[k] ? 1 : 0) << "member " << k << " update " << update;
            ASSERT_EQ(e.y, update >= start[k] ? -24 + 2 * (update - start[k] + 1) : -24);
        }
    }
    EXPECT_EQ(g_enemies[189].x, 24);
    EXPECT_EQ(g_enemies[190].x, 48);
}

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
