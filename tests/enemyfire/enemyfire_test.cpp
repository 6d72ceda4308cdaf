// Enemy fire: the bullet pools at their edges (a full pool, the ship's hit pixel, a failed
// drawing) and the firing operations where they could go two ways (truncation, ties, call
// counters kept over a reset). The cull bounds, the rings and what is drawn frame by frame are
// the goldens'.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

#include "app/game.h"
#include "enemyfire/enemyfire.h"
#include "player/player.h"
#include "test_support.h"
#include "video/display.h"

namespace {

std::vector<EnemyBullet> LiveSmall() {
    std::vector<EnemyBullet> live;
    for (const EnemyBullet& b : g_smallBullets) {
        if (b.alive == 1) live.push_back(b);
    }
    return live;
}

class EnemyFireTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetUpHeadlessGame();
        g_crossCounterA = g_crossCounterB = g_ringCounter = 0;
        // Ship A in play at (50, 100): its hit pixel, the aiming target, is (61, 115). Ship B out.
        g_ships[0].x = 50;
        g_ships[0].y = 100;
        g_ships[0].active = 1;
        g_ships[0].state = SHIP_STATE_NORMAL;
        g_ships[1].active = 0;
    }
    // Puts a live bullet straight into slot i of a pool, bypassing the spawn offset.
    static void Place(EnemyBullet* pool, int i, float x, float y, float vx = 0.0f, float vy = 0.0f) {
        pool[i] = EnemyBullet{x, y, 1, vx, vy};
        ++g_enemyBulletCount;
    }
    static void Update() {
        ASSERT_EQ(UpdateSmallBullets(), 1);
        ASSERT_EQ(UpdateLargeBullets(), 1);
    }
};

// ---- pools

// A full pool drops the bullet silently, the other pool still takes its own, and a freed slot is
// found again; a kind with no pool fires nothing. (Where a bullet starts is the goldens'.)
TEST_F(EnemyFireTest, AFullPoolDropsTheBulletAndAFreedSlotIsFoundAgain) {
    for (int i = 0; i <= SMALL_BULLET_COUNT; ++i) SpawnEnemyBullet(100, 10 + (i == SMALL_BULLET_COUNT), 0.0f, 1.0f, BULLET_SMALL);
    EXPECT_EQ(g_enemyBulletCount, SMALL_BULLET_COUNT);
    for (const EnemyBullet& s : g_smallBullets) EXPECT_EQ(s.y, 9.0f);
    SpawnEnemyBullet(7, 7, 0.0f, 1.0f, BULLET_LARGE);
    SpawnEnemyBullet(1, 1, 0.0f, 0.0f, 3);  // no such pool
    SpawnEnemyBullet(1, 1, 0.0f, 0.0f, 0);
    EXPECT_EQ(g_enemyBulletCount, SMALL_BULLET_COUNT + 1);
    g_smallBullets[321].alive = 0;
    --g_enemyBulletCount;
    SpawnEnemyBullet(7, 7, 0.0f, 1.0f, BULLET_SMALL);
    EXPECT_EQ(g_smallBullets[321].x, 6.0f);
}

// Hit boxes (small x+1..x+5, large x..x+8) against the one-pixel hit point: touching it is no hit,
// a fraction of overlap is, and a hit clears the whole sky after the bullet still moved. Ship B
// is tested at its own pixel; a ship down or invulnerable is never hit.
TEST_F(EnemyFireTest, HitPixelIsHitByAnyOverlapAndClearsTheSky) {
    Place(g_smallBullets, 0, 56.0f, 112.0f);  // right edge 61 = the pixel's left
    Place(g_smallBullets, 1, 61.0f, 112.0f);  // left edge 62 = the pixel's right
    Place(g_smallBullets, 2, 59.0f, 115.0f);  // top edge 116 = the pixel's bottom
    Place(g_smallBullets, 3, 59.0f, 110.0f);  // bottom edge 115 = the pixel's top
    Place(g_largeBullets, 0, 53.0f, 110.0f);  // right edge 61
    Place(g_largeBullets, 1, 62.0f, 110.0f);  // left edge 62
    Update();
    EXPECT_EQ(g_enemyBulletCount, 6);  // each merely touches the pixel
    for (int state : {SHIP_STATE_DOWN, SHIP_STATE_INVULNERABLE}) {
        g_ships[0].state = state;
        Place(g_smallBullets, 4, 58.0f, 112.0f);  // squarely on it
        Update();
        EXPECT_EQ(g_enemyBulletCount, 7) << "state " << state;
        g_smallBullets[4].alive = 0;
        --g_enemyBulletCount;
    }
    g_ships[0].state = SHIP_STATE_NORMAL;
    Place(g_smallBullets, 5, 56.25f, 112.0f, 1.0f, 0.0f);  // right edge 61.25 > 61: a hit
    ASSERT_EQ(UpdateSmallBullets(), 1);
    EXPECT_EQ(g_smallBullets[5].x, 57.25f);  // still moved after the hit
    EXPECT_EQ(g_enemyBulletCount, 0);
    EXPECT_EQ(g_largeBullets[0].alive + g_largeBullets[1].alive, 0);

    g_ships[0].active = 0;
    g_ships[1] = g_ships[0];
    g_ships[1].active = 1;                    // B at (50, 100): hit pixel (61, 108)
    Place(g_largeBullets, 0, 55.0f, 109.5f);  // covers (61, 115), ship A's pixel, only
    Update();
    EXPECT_EQ(g_largeBullets[0].alive, 1);
    Place(g_largeBullets, 1, 55.0f, 102.0f);
    Update();
    EXPECT_EQ(g_enemyBulletCount, 0);
}

TEST_F(EnemyFireTest, DrawingFailureStopsThePoolWhereItIs) {
    g_ships[0].active = 0;
    Place(g_smallBullets, 0, 10.0f, 10.0f, 1.0f, 1.0f);
    Place(g_smallBullets, 1, -7.0f, 10.0f, 1.0f, 1.0f);  // would be culled
    // The display is lost and a sheet cannot be reloaded: the first drawing fails.
    ASSERT_EQ(std::rename("grB.dat", "grB.away"), 0);
    PlatMarkAllSurfacesLost();
    const int result = UpdateSmallBullets();
    ASSERT_EQ(std::rename("grB.away", "grB.dat"), 0);
    EXPECT_EQ(result, 0);
    // The first bullet was not moved, nor was the other reached.
    EXPECT_TRUE(g_smallBullets[0].x == 10.0f && g_enemyBulletCount == 2);
    ASSERT_EQ(RestoreSurfaces(), 1);
    EXPECT_EQ(UpdateSmallBullets(), 1);
    EXPECT_TRUE(g_smallBullets[0].x == 11.0f && g_enemyBulletCount == 1);
}

// ---- firing operations

// The distance is truncated before the angle is taken: dx = trunc(3 - 0.5) = 2, dy = trunc(4 -
// 0.5) = 3. On the target after truncation the bullet goes straight down; the turn is clockwise.
TEST_F(EnemyFireTest, FireAtPointTruncatesTheDistanceBeforeTheAngle) {
    FireAtPoint(0.5f, 0.5f, 3, 4, 1.0f, 0.0f, BULLET_LARGE);
    EXPECT_FLOAT_EQ(g_largeBullets[0].vx, static_cast<float>(2.0 / std::sqrt(13.0)));
    EXPECT_FLOAT_EQ(g_largeBullets[0].vy, static_cast<float>(3.0 / std::sqrt(13.0)));
    FireAtPoint(10.7f, 10.9f, 10, 10, 2.0f, 0.0f, BULLET_SMALL);
    FireAtPoint(10.0f, 10.0f, 10, 11, 2.0f, static_cast<float>(std::numbers::pi / 2), BULLET_SMALL);
    const auto b = LiveSmall();
    ASSERT_EQ(b.size(), 2u);
    EXPECT_EQ(b[0].vy, 2.0f);
    EXPECT_NEAR(std::abs(b[0].vx) + std::abs(b[1].vx + 2.0f) + std::abs(b[1].vy), 0.0f, 1e-6);
}

// The major axis moves at exactly the speed; a level or zero distance counts as one pixel, and
// a tie goes vertical.
TEST_F(EnemyFireTest, FireAimedStraightMovesTheMajorAxisAtExactlyTheSpeed) {
    FireAimedStraight(31.0f, 105.0f, 2, BULLET_SMALL);  // 30 left of, 10 above the target
    FireAimedStraight(31.0f, 115.0f, 2, BULLET_SMALL);  // level
    FireAimedStraight(41.0f, 135.0f, 3, BULLET_SMALL);  // 20 left, 20 below: a tie
    FireAimedStraight(61.0f, 15.0f, 4, BULLET_SMALL);   // straight above
    FireAimedStraight(60.5f, 114.5f, 2, BULLET_SMALL);  // within a pixel: straight down
    const float want[][2] = {{2.0f, 2.0f / 3.0f}, {2.0f, 2.0f / 30.0f}, {3.0f, -3.0f}, {0.04f, 4.0f}, {0.0f, 2.0f}};
    const auto b = LiveSmall();
    ASSERT_EQ(b.size(), std::size(want));
    for (size_t i = 0; i < b.size(); ++i) {
        EXPECT_FLOAT_EQ(b[i].vx, want[i][0]) << i;
        EXPECT_FLOAT_EQ(b[i].vy, want[i][1]) << i;
    }
}

TEST_F(EnemyFireTest, CallCountersSurviveTheGameReset) {
    g_crossCounterA = 7;
    g_crossCounterB = 8;
    g_ringCounter = 9;
    g_largeBulletAltSprite = 1;
    SpawnEnemyBullet(10, 10, 0.0f, 0.0f, BULLET_SMALL);
    ResetGame();
    EXPECT_EQ(std::vector<int>({g_crossCounterA, g_crossCounterB, g_ringCounter}), std::vector<int>({7, 8, 9}));
    EXPECT_EQ(g_largeBulletAltSprite + g_enemyBulletCount + g_smallBullets[0].alive, 0);
    EXPECT_EQ(g_smallBullets[0].y, 240.0f);
}

}  // namespace
