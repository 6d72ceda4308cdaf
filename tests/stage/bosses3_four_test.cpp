// The fourth boss: its descent, the cover plate and pods, the first frames and periods of its
// three patterns in both rounds, the fan that inherits the ring angle, and the script's cycle.
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
#include "stage/bullet_probes.h"
#include "test_support.h"

namespace {

bool Played(int effect) {
    std::vector<int> sounds;
    std::vector<std::string> music;
    PlatHeadlessTakeAudioLog(&sounds, &music);
    return std::find(sounds.begin(), sounds.end(), effect) != sounds.end();
}

class BossFourTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetUpHeadlessGame();
        g_round = 1;
        g_aimJitter = 0.0f;
        g_ships[0].active = 1;  // ship A, hit pixel (75, 195)
        g_ships[0].x = 64;
        g_ships[0].y = 180;
        g_ships[1].active = 0;
    }

    static Volley Step() {
        ClearEnemyBullets();
        UpdateBossFour();
        return {LiveBullets(g_smallBullets, SMALL_BULLET_COUNT), LiveBullets(g_largeBullets, LARGE_BULLET_COUNT)};
    }

    static void Arrive() {
        SpawnBossFour();
        while (g_bossFour.entered == 0) Step();
    }

    static void RunTo(int t) {
        while (g_bossFour.scriptTimer != t) Step();
    }

    // The volleys of one pass of the script, by the script timer of their frame.
    static std::vector<Volley> RecordCycle() {
        std::vector<Volley> byTime(1251);
        SpawnBossFour();
        while (g_bossFour.entered == 0) byTime[0] = Step();  // the arrival frame runs t = 0
        for (int t = 1; t <= 1250; ++t) {
            EXPECT_EQ(g_bossFour.scriptTimer, t);
            byTime[t] = Step();
        }
        return byTime;
    }
};

TEST_F(BossFourTest, DescendsThenSlidesTheCoverAndSpreadsThePods) {
    SpawnBossFour();
    for (int n = 1; n <= 22; ++n) {
        Step();
        ASSERT_EQ(g_bossFour.entered, 0);
        ASSERT_EQ(g_bossFour.coverOffset, 90);
    }
    EXPECT_EQ(g_bossFour.y, 12);
    Played(111);
    Step();  // arrives; t = 0 starts the cover at once
    EXPECT_EQ(g_bossFour.entered, 1);
    EXPECT_EQ(g_bossFour.coverOffset, 91);
    for (int t = 1; t <= 9; ++t) Step();
    EXPECT_EQ(g_bossFour.coverOffset, 100);
    EXPECT_FALSE(Played(111));
    Step();  // t = 10: 101, the cover is down
    EXPECT_EQ(g_bossFour.coverOffset, 101);
    EXPECT_EQ(g_bossFour.coverSwitch, 0);
    EXPECT_TRUE(Played(111));
    EXPECT_EQ(g_bossFour.rightPodOffset, 6);
    for (int t = 11; t <= 29; ++t) Step();
    EXPECT_EQ(g_bossFour.rightPodOffset, 44);
    EXPECT_FALSE(Played(111));
    Step();  // t = 30: the twentieth pod step
    EXPECT_EQ(g_bossFour.rightPodOffset, 46);
    EXPECT_EQ(g_bossFour.leftPodOffset, -38);
    EXPECT_EQ(g_bossFour.podsSwitch, 0);
    EXPECT_TRUE(Played(111));
    RunTo(60);
    EXPECT_EQ(g_bossFour.coverOffset, 101);
    EXPECT_EQ(g_bossFour.rightPodOffset, 46);
}

TEST_F(BossFourTest, RoundOneCycle) {
    const std::vector<Volley> v = RecordCycle();
    for (int t = 0; t < 41; ++t) ASSERT_EQ(v[t].small + v[t].large, 0) << t;
    // Pattern A: the large gun every frame from the second, the spiral pair every 3 from the
    // fourth, a single ring of 60 every 18 from the nineteenth.
    EXPECT_EQ(v[41].large, 1);
    EXPECT_EQ(v[42].large, 1);
    EXPECT_EQ(v[42].small, 0);
    EXPECT_EQ(v[43].small, 2);
    EXPECT_EQ(v[46].small, 2);
    EXPECT_EQ(v[57].small, 0);
    EXPECT_EQ(v[58].small, 60 + 2);
    EXPECT_EQ(v[76].small, 60 + 2);
    EXPECT_EQ(v[439].large, 1);
    for (int t = 440; t < 542; ++t) ASSERT_EQ(v[t].small + v[t].large, 0) << t;
    // Pattern B: twin spiral pair every 2 from 542, fan of 10 large every 40 from 580, the
    // double ring of 120 every 60 from 600.
    EXPECT_EQ(v[542].small, 2);
    EXPECT_EQ(v[543].small, 0);
    EXPECT_EQ(v[580].large, 10);
    EXPECT_EQ(v[600].small, 120 + 2);
    EXPECT_EQ(v[620].large, 10);
    EXPECT_EQ(v[660].small, 120 + 2);
    for (int t = 800; t < 851; ++t) ASSERT_EQ(v[t].small + v[t].large, 0) << t;
    // Pattern C: two arms of three every 4 from 854, the double ring every 40 from 890, the
    // large gun every frame from 851.
    EXPECT_EQ(v[851].large, 1);
    EXPECT_EQ(v[853].small, 0);
    EXPECT_EQ(v[854].small, 6);
    EXPECT_EQ(v[858].small, 6);
    EXPECT_EQ(v[890].small, 120 + 6);
    EXPECT_EQ(v[930].small, 120 + 6);
    EXPECT_EQ(v[1149].large, 1);
    for (int t = 1150; t <= 1250; ++t) ASSERT_EQ(v[t].small + v[t].large, 0) << t;
    // Round again: pattern A from 40.
    EXPECT_EQ(g_bossFour.scriptTimer, 40);
    Step();
    EXPECT_EQ(g_bossFour.patternASwitch, 1);
}

TEST_F(BossFourTest, RoundTwoFiresTheSameShapesMoreOften) {
    g_round = 2;
    const std::vector<Volley> v = RecordCycle();
    EXPECT_EQ(v[40].small + v[40].large, 0);
    EXPECT_EQ(v[41].small, 2);  // the spiral pair every frame
    EXPECT_EQ(v[41].large, 1);
    EXPECT_EQ(v[54].small, 60 + 2);  // a single ring every 14
    EXPECT_EQ(v[68].small, 60 + 2);
    EXPECT_EQ(v[542].small, 4);  // the twin spiral doubled, at 2.0 and 2.5
    EXPECT_EQ(v[570].large, 10);  // fan every 30
    EXPECT_EQ(v[580].small, 120 + 4);  // double ring every 40
    EXPECT_EQ(v[852].small, 6);  // arms every 2
    EXPECT_EQ(v[853].small, 0);
    EXPECT_EQ(v[880].small, 120 + 6);  // double ring every 30
    EXPECT_EQ(v[1250].small + v[1250].large, 0);
}

TEST_F(BossFourTest, LargeGunTurnsEveryFrameAtTheRoundsSpeed) {
    for (int round = 1; round <= 2; ++round) {
        g_round = round;
        Arrive();
        RunTo(41);
        Step();
        ASSERT_EQ(LiveBullets(g_largeBullets, LARGE_BULLET_COUNT), 1);
        const EnemyBullet first = g_largeBullets[0];
        EXPECT_NEAR(std::hypot(first.vx, first.vy), round == 2 ? 2.5 : 2.0, 1e-5);
        EXPECT_NEAR(Turn(-std::numbers::pi / 2, Heading(first)), 0.0, 1e-6);  // straight up
        const int x = g_bossFour.x;  // it fires before it swings
        Step();
        EXPECT_NEAR(Turn(Heading(first), Heading(g_largeBullets[0])), 0.16, 1e-5);
        EXPECT_EQ(g_largeBullets[0].x, static_cast<float>(x + 19));
    }
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
