// Cruisers and frigates: the cruiser's rings and tight fans, and the frigate's streams from
// alternating wings at the re-captured aim point.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "enemyfire/enemyfire.h"
#include "player/player.h"
#include "stage/stage.h"
#include "stage/stage_fixture.h"
#include "test_support.h"

namespace {

void KeepOnly(int first, int keep) {
    for (int i = first; i < first + FORMATION_COUNT; ++i) {
        if (i != keep) g_largeEnemies[i].alive = 0;
    }
}

class CruisersFrigatesTest : public StageFixture {
protected:
    void SetUp() override { StartGameInRound(1); }
};

TEST_F(CruisersFrigatesTest, CruiserFiresRingAndTightFanTwiceThenSinks) {
    SpawnCruisers();
    KeepOnly(FIRST_CRUISER, FIRST_CRUISER + 1);  // the first to enter
    for (int f = 1; f <= 25; ++f) UpdateCruisers();
    const LargeEnemy& e = g_largeEnemies[FIRST_CRUISER + 1];
    ASSERT_EQ(SmallBullets(), 27);
    // 27 directions from straight up, 0.24 apart, from (x + 21, y + 27).
    const double up = -std::numbers::pi / 2;
    for (int k = 0; k < 27; ++k) {
        EXPECT_NEAR(Speed(g_smallBullets[k]), 3.0, 1e-5);
        EXPECT_NEAR(Turn(up, Heading(g_smallBullets[k])), std::remainder(0.24 * k, 2 * std::numbers::pi), 1e-5) << k;
        EXPECT_FLOAT_EQ(g_smallBullets[k].x, static_cast<float>(e.x + 20));
        EXPECT_FLOAT_EQ(g_smallBullets[k].y, 68.0f);
    }
    const double aim = std::atan2(195.0 - 69.0, 75.0 - (e.x + 21));
    for (int k = 0; k < 9; ++k) {
        EXPECT_NEAR(Speed(g_largeBullets[k]), 4.0, 1e-5);
        EXPECT_NEAR(Turn(aim, Heading(g_largeBullets[k])), -0.2 + 0.05 * k, 1e-5);
    }
    for (int f = 1; f <= 29; ++f) UpdateCruisers();
    EXPECT_EQ(SmallBullets(), 27);
    UpdateCruisers();  // fire age 30
    EXPECT_EQ(SmallBullets(), 54);
    EXPECT_EQ(LargeBullets(), 18);
    EXPECT_EQ(e.y, 42);
    UpdateCruisers();  // fire age 31: sinks from now on
    EXPECT_EQ(e.y, 44);
    for (int f = 0; f < 50; ++f) UpdateCruisers();
    EXPECT_EQ(e.y, 144);
    EXPECT_EQ(SmallBullets(), 54);
}

TEST_F(CruisersFrigatesTest, FrigateStreamsFromAlternatingWingsAtTheReCapturedPoint) {
    SpawnFrigates();
    KeepOnly(FIRST_FRIGATE, FIRST_FRIGATE + 1);
    for (int f = 1; f <= 24; ++f) UpdateFrigates();
    const LargeEnemy& e = g_largeEnemies[FIRST_FRIGATE + 1];
    EXPECT_EQ(SmallBullets(), 0);
    UpdateFrigates();  // fire age 0: the ring at 2.0
    ASSERT_EQ(SmallBullets(), 27);
    EXPECT_NEAR(Speed(g_smallBullets[0]), 2.0, 1e-5);
    EXPECT_EQ(e.work5, 75);
    EXPECT_EQ(e.work6, 195);
    ClearEnemyBullets();
    g_ships[0].x = 120;  // the ship moves away: the left stream keeps to the old point
    int firedAt[60] = {};
    for (int age = 1; age < 60; ++age) {
        const int before = SmallBullets();
        if (age == 20) g_ships[0].y = 100;
        UpdateFrigates();
        firedAt[age] = SmallBullets() - before;
    }
    // Every third frame one shot, rings at 20 and 40.
    for (int age = 1; age < 60; ++age) {
        const int ring = age == 20 || age == 40 ? 27 : 0;
        EXPECT_EQ(firedAt[age], ring + (age % 3 == 0 ? 1 : 0)) << "age " << age;
    }
    // The first shot (age 3), left gun (x + 3, y + 39), towards (75, 195).
    const EnemyBullet& left = g_smallBullets[0];
    EXPECT_FLOAT_EQ(left.x, static_cast<float>(e.x + 2));
    EXPECT_FLOAT_EQ(left.y, 80.0f);
    EXPECT_NEAR(Heading(left), std::atan2(195.0 - 81.0, 75.0 - (e.x + 3)), 1e-5);
    EXPECT_NEAR(Speed(left), 3.0, 1e-5);
    EXPECT_EQ(e.work5, 131);  // re-captured at age 40
    EXPECT_EQ(e.work6, 115);
    EXPECT_EQ(e.y, 42);
    UpdateFrigates();  // age 60: no more shots, not sinking yet
    EXPECT_EQ(e.y, 42);
    UpdateFrigates();
    EXPECT_EQ(e.y, 44);
}

TEST_F(CruisersFrigatesTest, FrigateRightWingAimsWhereTheShipWasAtAgeTwenty) {
    SpawnFrigates();
    KeepOnly(FIRST_FRIGATE, FIRST_FRIGATE + 1);
    for (int f = 1; f <= 25 + 19; ++f) UpdateFrigates();  // through fire age 19
    const LargeEnemy& e = g_largeEnemies[FIRST_FRIGATE + 1];
    ClearEnemyBullets();
    g_ships[0].x = 20;  // hit pixel (31, 195) at the age-20 capture
    UpdateFrigates();   // age 20: ring and re-aim
    ClearEnemyBullets();
    g_ships[0].x = 150;
    UpdateFrigates();  // 21: right gun
    ASSERT_EQ(SmallBullets(), 1);
    const EnemyBullet& b = g_smallBullets[0];
    EXPECT_FLOAT_EQ(b.x, static_cast<float>(e.x + 38));
    EXPECT_NEAR(Heading(b), std::atan2(195.0 - 81.0, 31.0 - (e.x + 39)), 1e-5);
}

}  // namespace
