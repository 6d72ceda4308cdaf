// Enemy fire: the bullet pools at their edges (a full pool, the cull bounds, the ship's hit
// pixel, drawing and a failed drawing) and the firing operations where they could go two ways
// (truncation, ties, rows out of range, call counters).
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

std::vector<EnemyBullet> LiveBullets(const EnemyBullet* pool, int count) {
    std::vector<EnemyBullet> live;
    for (int i = 0; i < count; ++i) {
        if (pool[i].alive == 1) live.push_back(pool[i]);
    }
    return live;
}
std::vector<EnemyBullet> LiveSmall() { return LiveBullets(g_smallBullets, SMALL_BULLET_COUNT); }

class EnemyFireTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetUpHeadlessGame();
        g_crossCounterA = 0;
        g_crossCounterB = 0;
        g_ringCounter = 0;
        // Ship A in play at (50, 100): its hit pixel is (61, 115). Ship B out of play.
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
};

// ---- pools

TEST_F(EnemyFireTest, SpawnTakesTheFirstFreeSlotOnePixelUpAndLeftAndAFullPoolDropsIt) {
    Place(g_smallBullets, 0, 5.0f, 5.0f);
    SpawnEnemyBullet(20, 30, 1.5f, -2.0f, BULLET_SMALL);
    SpawnEnemyBullet(40, 50, 0.0f, 1.0f, BULLET_LARGE);
    EXPECT_EQ(g_smallBullets[1].alive, 1);
    EXPECT_EQ(g_smallBullets[1].x, 19.0f);
    EXPECT_EQ(g_smallBullets[1].y, 29.0f);
    EXPECT_EQ(g_smallBullets[1].vx, 1.5f);
    EXPECT_EQ(g_smallBullets[1].vy, -2.0f);
    EXPECT_EQ(g_largeBullets[0].x, 39.0f);
    EXPECT_EQ(g_largeBullets[0].y, 49.0f);
    EXPECT_EQ(g_enemyBulletCount, 3);
    SpawnEnemyBullet(1, 1, 0.0f, 0.0f, 3);  // no such pool
    SpawnEnemyBullet(1, 1, 0.0f, 0.0f, 0);
    EXPECT_EQ(g_enemyBulletCount, 3);
    // A full pool drops the bullet silently.
    ClearEnemyBullets();
    for (int i = 0; i < SMALL_BULLET_COUNT; ++i) SpawnEnemyBullet(100, 10, 0.0f, 1.0f, BULLET_SMALL);
    EXPECT_EQ(g_enemyBulletCount, SMALL_BULLET_COUNT);
    SpawnEnemyBullet(7, 7, 0.0f, 1.0f, BULLET_SMALL);
    EXPECT_EQ(g_enemyBulletCount, SMALL_BULLET_COUNT);
    for (const EnemyBullet& b : g_smallBullets) EXPECT_NE(b.x, 6.0f);
    // The large pool is separate and still takes bullets.
    SpawnEnemyBullet(7, 7, 0.0f, 1.0f, BULLET_LARGE);
    EXPECT_EQ(g_enemyBulletCount, SMALL_BULLET_COUNT + 1);
    // A freed slot is found again.
    g_smallBullets[321].alive = 0;
    --g_enemyBulletCount;
    SpawnEnemyBullet(7, 7, 0.0f, 1.0f, BULLET_SMALL);
    EXPECT_EQ(g_smallBullets[321].alive, 1);
    EXPECT_EQ(g_smallBullets[321].x, 6.0f);
}

TEST_F(EnemyFireTest, CullBoundsAreInclusiveAndDependOnTheBulletSize) {
    g_ships[0].active = 0;
    SpawnEnemyBullet(-5, 100, 0.0f, 0.0f, BULLET_SMALL);   // stored -6: stays
    SpawnEnemyBullet(-6, 100, 0.0f, 0.0f, BULLET_SMALL);   // stored -7: culled
    SpawnEnemyBullet(100, -5, 0.0f, 0.0f, BULLET_SMALL);   // stays
    SpawnEnemyBullet(100, -6, 0.0f, 0.0f, BULLET_SMALL);   // culled
    SpawnEnemyBullet(201, 100, 0.0f, 0.0f, BULLET_SMALL);  // stored 200: stays
    SpawnEnemyBullet(202, 100, 0.0f, 0.0f, BULLET_SMALL);  // culled
    SpawnEnemyBullet(100, 241, 0.0f, 0.0f, BULLET_SMALL);  // stored 240: stays
    SpawnEnemyBullet(100, 242, 0.0f, 0.0f, BULLET_SMALL);  // culled
    SpawnEnemyBullet(-7, 100, 0.0f, 0.0f, BULLET_LARGE);   // stored -8: stays
    SpawnEnemyBullet(-8, 100, 0.0f, 0.0f, BULLET_LARGE);   // stored -9: culled
    SpawnEnemyBullet(100, -7, 0.0f, 0.0f, BULLET_LARGE);   // stays
    ASSERT_EQ(g_enemyBulletCount, 11);
    ASSERT_EQ(UpdateSmallBullets(), 1);
    ASSERT_EQ(UpdateLargeBullets(), 1);
    const int smallAlive[8] = {1, 0, 1, 0, 1, 0, 1, 0};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(g_smallBullets[i].alive, smallAlive[i]) << "small " << i;
    EXPECT_EQ(g_largeBullets[0].alive, 1);
    EXPECT_EQ(g_largeBullets[1].alive, 0);
    EXPECT_EQ(g_largeBullets[2].alive, 1);
    EXPECT_EQ(g_enemyBulletCount, 6);
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
    ASSERT_EQ(UpdateSmallBullets(), 1);
    ASSERT_EQ(UpdateLargeBullets(), 1);
    EXPECT_EQ(g_enemyBulletCount, 6);

    for (int state : {SHIP_STATE_DOWN, SHIP_STATE_INVULNERABLE}) {
        g_ships[0].state = state;
        Place(g_smallBullets, 4, 58.0f, 112.0f);
        ASSERT_EQ(UpdateSmallBullets(), 1);
        EXPECT_EQ(g_smallBullets[4].alive, 1) << "state " << state;
        g_smallBullets[4].alive = 0;
        --g_enemyBulletCount;
    }
    g_ships[0].state = SHIP_STATE_NORMAL;
    Place(g_smallBullets, 5, 56.25f, 112.0f, 1.0f, 0.0f);  // right edge 61.25 > 61: a hit
    ASSERT_EQ(UpdateSmallBullets(), 1);
    EXPECT_EQ(g_smallBullets[5].x, 57.25f);  // still moved after the hit
    EXPECT_TRUE(LiveSmall().empty());
    EXPECT_TRUE(LiveBullets(g_largeBullets, LARGE_BULLET_COUNT).empty());
    EXPECT_EQ(g_enemyBulletCount, 0);

    g_ships[0].active = 0;
    g_ships[1] = g_ships[0];
    g_ships[1].active = 1;                    // B at (50, 100): hit pixel (61, 108)
    Place(g_largeBullets, 0, 55.0f, 109.5f);  // covers (61, 115), ship A's pixel, only
    ASSERT_EQ(UpdateLargeBullets(), 1);
    EXPECT_EQ(g_largeBullets[0].alive, 1);
    Place(g_largeBullets, 1, 55.0f, 102.0f);
    ASSERT_EQ(UpdateLargeBullets(), 1);
    EXPECT_EQ(g_enemyBulletCount, 0);
}

// Compares the field under a bullet drawn at (x, y) with the source picture on sheet B.
void ExpectPictureAt(int x, int y, int size, int srcLeft, int srcTop) {
    int fieldPitch = 0, sheetPitch = 0;
    const uint8_t* field = PlatSurfacePixels(g_fieldSurface, &fieldPitch);
    const uint8_t* sheet = PlatSurfacePixels(g_sheetB, &sheetPitch);
    for (int dy = 0; dy < size; ++dy) {
        for (int dx = 0; dx < size; ++dx) {
            const uint8_t want = sheet[(srcTop + dy) * sheetPitch + srcLeft + dx];
            if (want == COLOUR_KEY_INDEX) continue;
            ASSERT_EQ(field[(y + dy) * fieldPitch + x + dx], want) << dx << "," << dy;
        }
    }
}

TEST_F(EnemyFireTest, BulletsAreDrawnAtTheirTruncatedPositionEvenWhenTheyHit) {
    const PlatRect whole{0, 0, FIELD_WIDTH, FIELD_HEIGHT};
    PlatColourFill(g_fieldSurface, &whole, 3);
    Place(g_smallBullets, 0, 20.9f, 30.7f);
    Place(g_smallBullets, 1, 58.5f, 112.5f);  // hits the ship
    ASSERT_EQ(UpdateSmallBullets(), 1);
    ASSERT_EQ(g_enemyBulletCount, 0);
    ExpectPictureAt(20, 30, 6, 180, 0);
    ExpectPictureAt(58, 112, 6, 180, 0);
    // The final boss switches every large bullet, those already flying too, to its second picture.
    g_ships[0].active = 0;
    Place(g_largeBullets, 0, 100.5f, 50.2f);
    ASSERT_EQ(UpdateLargeBullets(), 1);
    ExpectPictureAt(100, 50, 8, 190, 0);
    g_largeBulletAltSprite = 1;
    ASSERT_EQ(UpdateLargeBullets(), 1);
    ExpectPictureAt(100, 50, 8, 190, 10);
}

TEST_F(EnemyFireTest, DrawingFailureStopsThePoolWhereItIs) {
    g_ships[0].active = 0;
    Place(g_smallBullets, 0, 10.0f, 10.0f, 1.0f, 1.0f);
    Place(g_smallBullets, 1, 20.0f, 10.0f, 1.0f, 1.0f);
    Place(g_smallBullets, 2, -7.0f, 10.0f, 1.0f, 1.0f);  // would be culled
    // The display is lost and a sheet cannot be reloaded: the first drawing fails.
    ASSERT_EQ(std::rename("grB.dat", "grB.away"), 0);
    PlatMarkAllSurfacesLost();
    const int result = UpdateSmallBullets();
    ASSERT_EQ(std::rename("grB.away", "grB.dat"), 0);
    EXPECT_EQ(result, 0);
    // The first bullet was neither moved nor were the others reached.
    EXPECT_EQ(g_smallBullets[0].x, 10.0f);
    EXPECT_EQ(g_smallBullets[1].x, 20.0f);
    EXPECT_EQ(g_smallBullets[2].alive, 1);
    EXPECT_EQ(g_enemyBulletCount, 3);
    ASSERT_EQ(RestoreSurfaces(), 1);
    EXPECT_EQ(UpdateSmallBullets(), 1);
    EXPECT_EQ(g_smallBullets[1].x, 21.0f);
}

// ---- firing operations. Ship A's hit pixel, the aiming target, is (61, 115).

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
    EXPECT_NEAR(b[0].vx, 0.0f, 1e-6);
    EXPECT_EQ(b[0].vy, 2.0f);
    EXPECT_EQ(b[0].x, 9.0f);
    EXPECT_NEAR(b[1].vx, -2.0f, 1e-6);
    EXPECT_NEAR(b[1].vy, 0.0f, 1e-6);
}

TEST_F(EnemyFireTest, FireAimedStraightMovesTheMajorAxisAtExactlyTheSpeed) {
    FireAimedStraight(31.0f, 105.0f, 2, BULLET_SMALL);  // 30 left of, 10 above the target
    FireAimedStraight(31.0f, 115.0f, 2, BULLET_SMALL);  // level: counts as one pixel down
    FireAimedStraight(41.0f, 135.0f, 3, BULLET_SMALL);  // 20 left, 20 below: a tie goes vertical
    FireAimedStraight(61.0f, 15.0f, 4, BULLET_SMALL);   // straight above
    FireAimedStraight(60.5f, 114.5f, 2, BULLET_SMALL);  // within a pixel: straight down
    const auto b = LiveSmall();
    ASSERT_EQ(b.size(), 5u);
    EXPECT_EQ(b[0].vx, 2.0f);
    EXPECT_EQ(b[0].vy, 2.0f / 30.0f * 10.0f);
    EXPECT_NEAR(b[0].vy, 0.667f, 0.001f);
    EXPECT_EQ(b[1].vx, 2.0f);
    EXPECT_EQ(b[1].vy, 2.0f / 30.0f);
    EXPECT_FLOAT_EQ(b[2].vx, 3.0f);
    EXPECT_EQ(b[2].vy, -3.0f);
    EXPECT_FLOAT_EQ(b[3].vx, 0.04f);  // a zero horizontal distance counts as one pixel too
    EXPECT_EQ(b[3].vy, 4.0f);
    EXPECT_EQ(b[4].vx, 0.0f);
    EXPECT_EQ(b[4].vy, 2.0f);
    EXPECT_EQ(b[4].x, 59.0f);  // trunc(60.5) - 1
}

TEST_F(EnemyFireTest, RingBulletOutsideTheRowsFiresNothing) {
    FireRingBullet(50, 50, 1, 0, BULLET_SMALL);
    FireRingBullet(50, 50, 1, 17, BULLET_SMALL);
    EXPECT_EQ(g_enemyBulletCount, 0);
    FireRingBullet(50, 50, 1, 16, BULLET_SMALL);
    EXPECT_EQ(g_smallBullets[0].vx, -1.0f);
    EXPECT_EQ(g_smallBullets[0].vy, -3.0f);
}

// Calls the operation n times and records on which calls it fired and the first velocity of
// each volley.
struct Volley {
    int call;
    float vx, vy;
};
template <typename Fire>
std::vector<Volley> CallRepeatedly(int calls, Fire fire) {
    std::vector<Volley> volleys;
    for (int call = 1; call <= calls; ++call) {
        const int before = g_enemyBulletCount;
        fire();
        if (g_enemyBulletCount != before) {
            const EnemyBullet& first = g_smallBullets[before];
            volleys.push_back(Volley{call, first.vx, first.vy});
            EXPECT_EQ(g_enemyBulletCount - before, 4) << "call " << call;
        }
    }
    return volleys;
}

TEST_F(EnemyFireTest, RotatingCrossFiresAQuarterTurnEveryIntervalCalls) {
    const auto clockwise = CallRepeatedly(26, [] { FireRotatingCrossA(100, 100, 1, 5, 0, BULLET_SMALL); });
    ASSERT_EQ(clockwise.size(), 5u);
    const int calls[5] = {6, 11, 16, 21, 26};
    // First rows of the volleys: 1, 2, 3, 4, then 1 again.
    const float vx[5] = {0.0f, 1.0f, 2.0f, 3.0f, 0.0f};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(clockwise[i].call, calls[i]);
        EXPECT_EQ(clockwise[i].vx, vx[i]) << "volley " << i;
    }
    ClearEnemyBullets();
    // Counter B is separate and starts from 0; anticlockwise goes 1, 4, 3, 2.
    const auto anticlockwise = CallRepeatedly(21, [] { FireRotatingCrossB(100, 100, 1, 5, 1, BULLET_SMALL); });
    ASSERT_EQ(anticlockwise.size(), 4u);
    EXPECT_EQ(anticlockwise[0].call, 6);
    EXPECT_EQ(anticlockwise[1].vx, 3.0f);
    EXPECT_EQ(anticlockwise[1].vy, -1.0f);
    EXPECT_EQ(anticlockwise[2].vx, 2.0f);
    EXPECT_EQ(anticlockwise[3].vx, 1.0f);
    EXPECT_EQ(g_crossCounterA, 6);  // A was left where its own cycle put it
    // Another direction only counts.
    ClearEnemyBullets();
    for (int i = 0; i < 30; ++i) FireRotatingCrossA(100, 100, 1, 5, 2, BULLET_SMALL);
    EXPECT_EQ(g_enemyBulletCount, 0);
    EXPECT_EQ(g_crossCounterA, 36);
}

TEST_F(EnemyFireTest, RingEveryFiresOnCall31ThenEvery30) {
    std::vector<int> firing;
    for (int call = 1; call <= 100; ++call) {
        const int before = g_enemyBulletCount;
        FireRingEvery(100, 100, 1, 30, BULLET_SMALL);
        if (g_enemyBulletCount != before) {
            EXPECT_EQ(g_enemyBulletCount - before, 16);
            firing.push_back(call);
        }
        ClearEnemyBullets();
    }
    EXPECT_EQ(firing, (std::vector<int>{31, 61, 91}));
}

TEST_F(EnemyFireTest, CallCountersSurviveTheGameReset) {
    g_crossCounterA = 7;
    g_crossCounterB = 8;
    g_ringCounter = 9;
    g_largeBulletAltSprite = 1;
    SpawnEnemyBullet(10, 10, 0.0f, 0.0f, BULLET_SMALL);
    ResetGame();
    EXPECT_EQ(g_crossCounterA, 7);
    EXPECT_EQ(g_crossCounterB, 8);
    EXPECT_EQ(g_ringCounter, 9);
    EXPECT_EQ(g_largeBulletAltSprite, 0);
    EXPECT_EQ(g_enemyBulletCount, 0);
    EXPECT_EQ(g_smallBullets[0].alive, 0);
    EXPECT_EQ(g_smallBullets[0].y, 240.0f);
    EXPECT_EQ(g_smallBullets[0].vy, 240.0f);
}

}  // namespace
