// Enemy behaviour at the places where the arithmetic or the counting could go two ways: offsets
// added to a float angle, sway positions worked out from a stored float angle, and a firing tick
// that stands still between its windows. Each case is set up so that the other way would leave a
// different record or a different bullet.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "enemyfire/enemyfire.h"
#include "player/player.h"
#include "stage/stage.h"
#include "stage/stage_fixture.h"
#include "test_support.h"

namespace {

int SmallBulletsFrom(float x) {
    int n = 0;
    for (const EnemyBullet& b : g_smallBullets) n += b.alive == 1 && b.x == x ? 1 : 0;
    return n;
}

class EnemyArithmeticTest : public StageFixture {
protected:
    void SetUp() override {
        StartGameInRound(1);
        g_crossCounterA = g_crossCounterB = g_ringCounter = 0;
    }
};

// A fan's offsets are added to the float jitter in double, and the sum is rounded to float once,
// as it is handed to the firing operation. With a jitter of -0.1, adding -0.6 or 0.3 as floats
// would turn those two bullets by one bit more.
TEST_F(EnemyArithmeticTest, FanOffsetsAddToTheJitterInDoubleAndRoundOnce) {
    SpawnFannersLeftA();
    for (int i = 70; i < 75; ++i) {
        if (i != 72) g_enemies[i].alive = 0;  // the first to dive, alone
    }
    g_aimJitter = static_cast<float>(-0.1);  // a value of the narrow jitter table
    int frames = 0;
    while (!g_smallBullets[0].alive && frames < 40) {
        UpdateFanners(POOL_FANNERS_LEFT_A);
        ++frames;
    }
    ASSERT_EQ(frames, 21);  // the fan comes in the 21st diving frame
    const Enemy& e = g_enemies[72];
    const float ox = static_cast<float>(e.x + 9), oy = static_cast<float>(e.y + 18);
    const double offsets[] = {-0.6, -0.3, 0, 0.3, 0.6};
    for (double d : offsets) FireAimed(ox, oy, 3.0f, static_cast<float>(g_aimJitter + d), BULLET_SMALL);
    for (int k = 0; k < 5; ++k) {
        ASSERT_EQ(g_smallBullets[5 + k].alive, 1);
        EXPECT_EQ(g_smallBullets[k].vx, g_smallBullets[5 + k].vx) << "offset " << offsets[k];
        EXPECT_EQ(g_smallBullets[k].vy, g_smallBullets[5 + k].vy) << "offset " << offsets[k];
    }
}

// Sway positions are trunc(sin or cos of the angle x amplitude + centre) in double from the
// stored float angle. At these angles the cosine term lies a hair below a whole number, which
// float arithmetic would round up to it: one pixel lower.
TEST_F(EnemyArithmeticTest, SwayPositionsAreWorkedOutInDoubleFromTheStoredAngle) {
    SpawnSwayersLeft1();
    Enemy& swayer = g_enemies[10];
    UpdateSwayers(POOL_SWAYERS_LEFT_1);  // moving from here on
    swayer.work1 = 100;
    const float third = static_cast<float>(std::numbers::pi / 3);  // cos = 0.49999997...
    SetFloatField(swayer.work5, third);
    UpdateSwayers(POOL_SWAYERS_LEFT_1);
    EXPECT_EQ(swayer.y, 100);  // trunc(100.99999995)
    EXPECT_EQ(swayer.x, 74);

    SpawnBossOne(0);
    for (int f = 0; f < 66; ++f) UpdateBossOne();  // the entry
    float angle = static_cast<float>(std::acos(0.2));
    if (std::cos(static_cast<double>(angle)) >= 0.2) angle = std::nextafter(angle, 4.0f);
    g_bossOne.swayAngle = angle;
    UpdateBossOne();
    EXPECT_EQ(g_bossOne.y, 15);  // trunc(15.9999999...)
}

// Second appearance of the first boss: the side-gun tick counts only in the frames of the left
// and right windows (cycle 0-14 and 15-29). The cycle-30 frame between two passes leaves it
// where the right window left it.
TEST_F(EnemyArithmeticTest, SideGunTickStandsStillBetweenItsWindows) {
    SpawnBossOne(1);
    for (int guard = 0; guard < 2000; ++guard) {
        if (g_bossOne.entryCounter == 66 && g_bossOne.scriptTimer == 1130) break;
        UpdateBossOne();
    }
    ASSERT_EQ(g_bossOne.scriptTimer, 1130);
    for (int f = 0; f < 30; ++f) UpdateBossOne();  // cycles 0-29
    EXPECT_EQ(g_bossOne.sideGunCycle, 30);
    EXPECT_EQ(g_bossOne.sideGunTick, 2);
    UpdateBossOne();  // cycle 30: no window
    EXPECT_EQ(g_bossOne.sideGunCycle, 1);
    EXPECT_EQ(g_bossOne.sideGunTick, 2);
    ClearEnemyBullets();
    UpdateBossOne();  // cycle 1: the left gun fires at once
    EXPECT_EQ(SmallBulletsFrom(static_cast<float>(g_bossOne.x + 25 - 1)), 1);
    EXPECT_EQ(g_bossOne.sideGunTick, 1);
}

}  // namespace
