// Small enemies where the arithmetic or the counting could go two ways, or where the state lies
// out of sight: offsets added to a float angle, sway positions from a stored float angle, a
// swayer below the field that keeps counting. Their paths and volleys frame by frame are the
// goldens'.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "enemyfire/enemyfire.h"
#include "player/player.h"
#include "stage/stage.h"
#include "stage/stage_fixture.h"

namespace {

class EnemiesTest : public StageFixture {};

// Keeps only record `keep` of a pool alive.
void KeepOnly(const EnemyPool& pool, int keep) {
    for (int i = pool.first; i < pool.first + pool.count; ++i) {
        if (i != keep) g_enemies[i].alive = 0;
    }
}

// A fan's offsets are added to the float jitter in double and rounded to float once: with a
// jitter of -0.1, adding -0.6 or 0.3 as floats would turn those two bullets by one bit more.
TEST_F(EnemiesTest, FanOffsetsAddToTheJitterInDoubleAndRoundOnce) {
    SpawnFannersLeftA();
    KeepOnly(POOL_FANNERS_LEFT_A, 72);  // the first to dive, alone
    g_aimJitter = static_cast<float>(-0.1);
    RunUntil([] { UpdateFanners(POOL_FANNERS_LEFT_A); }, [] { return g_smallBullets[0].alive == 1; }, 40);
    const Enemy& e = g_enemies[72];
    const float ox = static_cast<float>(e.x + 9), oy = static_cast<float>(e.y + 18);
    const double offsets[] = {-0.6, -0.3, 0, 0.3, 0.6};
    for (double d : offsets) FireAimed(ox, oy, 3.0f, static_cast<float>(g_aimJitter + d), BULLET_SMALL);
    for (int k = 0; k < 5; ++k) {
        ASSERT_EQ(g_smallBullets[5 + k].alive, 1);
        const EnemyBullet &fired = g_smallBullets[k], &wanted = g_smallBullets[5 + k];
        EXPECT_TRUE(fired.vx == wanted.vx && fired.vy == wanted.vy) << "offset " << offsets[k];
    }
}

// Sway positions are trunc(sin or cos of the angle x amplitude + centre) in double from the
// stored float angle. At these angles the cosine term lies a hair below a whole number, which
// float arithmetic would round up: one pixel lower.
TEST_F(EnemiesTest, SwayPositionsAreWorkedOutInDoubleFromTheStoredAngle) {
    SpawnSwayersLeft1();
    Enemy& swayer = g_enemies[10];
    UpdateSwayers(POOL_SWAYERS_LEFT_1);  // moving from here on
    swayer.work1 = 100;
    SetFloatField(swayer.work5, static_cast<float>(std::numbers::pi / 3));  // cos = 0.49999997...
    UpdateSwayers(POOL_SWAYERS_LEFT_1);
    EXPECT_EQ(swayer.y, 100);
    EXPECT_EQ(swayer.x, 74);

    SpawnBossOne(0);
    for (int f = 0; f < 66; ++f) UpdateBossOne();  // the entry
    float angle = static_cast<float>(std::acos(0.2));
    if (std::cos(static_cast<double>(angle)) >= 0.2) angle = std::nextafter(angle, 4.0f);
    g_bossOne.swayAngle = angle;
    UpdateBossOne();
    EXPECT_EQ(g_bossOne.y, 15);  // trunc(15.9999999...)
}

// Only the positions depend on y <= 240: below the field the axis and angle keep stepping.
TEST_F(EnemiesTest, SwayerBelowTheFieldStopsMovingButKeepsCounting) {
    SpawnSwayersRight2();
    Enemy& e = g_enemies[25];
    UpdateSwayers(POOL_SWAYERS_RIGHT_2);
    e.y = 241;
    const int baseY = e.work1;
    const float angle = FloatField(e.work5);
    UpdateSwayers(POOL_SWAYERS_RIGHT_2);
    EXPECT_EQ(std::vector<int>({e.y, e.work1}), std::vector<int>({241, baseY + 1}));
    EXPECT_GT(FloatField(e.work5), angle);
}

}  // namespace
