// The third boss: its braking descent, the unfolding side parts, the first volley of every
// pattern in both rounds, the wall's capture, closing, hold and sweep, and the script's cycle.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "enemyfire/enemyfire.h"
#include "platform/platform.h"
#include "player/player.h"
#include "stage/stage.h"
#include "stage/bullet_probes.h"
#include "test_support.h"

namespace {

class BossThreeTest : public ::testing::Test {
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

    // One update from empty pools.
    static Volley Step() {
        ClearEnemyBullets();
        UpdateBossThree();
        return {LiveBullets(g_smallBullets, SMALL_BULLET_COUNT), LiveBullets(g_largeBullets, LARGE_BULLET_COUNT)};
    }

    static void Arrive() {
        SpawnBossThree();
        while (g_bossThree.entered == 0) Step();
    }

    // Runs until the next frame's script timer reads t.
    static void RunTo(int t) {
        while (g_bossThree.scriptTimer != t) Step();
    }

    // The volleys of one pass of the script, by the script timer of their frame, from t = 20.
    static std::vector<Volley> RecordCycle(int end) {
        std::vector<Volley> byTime(end + 1);
        RunTo(20);
        for (int t = 20; t <= end; ++t) {
            EXPECT_EQ(g_bossThree.scriptTimer, t);
            byTime[t] = Step();
        }
        return byTime;
    }
};

TEST_F(BossThreeTest, BrakesDownToY12InTwentyThreeFramesThenSwaysAndUnfolds) {
    SpawnBossThree();
    const int ys[22] = {-109, -98, -88, -78, -69, -60, -52, -44, -37, -30, -24,
                        -18,  -13, -8,  -4,  0,   3,   6,   8,   10,  11,  12};
    for (int n = 0; n < 22; ++n) {
        Step();
        ASSERT_EQ(g_bossThree.y, ys[n]) << "frame " << n + 1;
        ASSERT_EQ(g_bossThree.x, 80);
        ASSERT_EQ(g_bossThree.entered, 0);
        ASSERT_EQ(g_bossThree.scriptTimer, 0);  // nothing else while descending
    }
    std::vector<int> sounds;
    std::vector<std::string> music;
    PlatHeadlessTakeAudioLog(&sounds, &music);
    Step();  // the 23rd frame arrives and goes on at once
    EXPECT_EQ(g_bossThree.entered, 1);
    EXPECT_EQ(g_bossThree.y, 12);  // sway at angle 0: (80, 12)
    EXPECT_EQ(g_bossThree.x, 80);
    EXPECT_EQ(g_bossThree.partFrame, 80);
    EXPECT_EQ(g_bossThree.scriptTimer, 1);
    Step();
    EXPECT_EQ(g_bossThree.partFrame, 80);
    Step();
    EXPECT_EQ(g_bossThree.partFrame, 160);
    Step();
    PlatHeadlessTakeAudioLog(&sounds, &music);
    EXPECT_TRUE(std::find(sounds.begin(), sounds.end(), 111) == sounds.end());
    Step();  // t = 4: the last step clanks
    EXPECT_EQ(g_bossThree.partFrame, 240);
    PlatHeadlessTakeAudioLog(&sounds, &music);
    EXPECT_TRUE(std::find(sounds.begin(), sounds.end(), 111) != sounds.end());
    // The sway: 20 pixels either side of 80, after a quarter turn (about 52 frames) at the right.
    RunTo(57);
    EXPECT_EQ(g_bossThree.x, 99);
}

TEST_F(BossThreeTest, RoundOneCycleFiresEachPatternOnItsFrames) {
    Arrive();
    const std::vector<Volley> v = RecordCycle(2000);
    // Nothing before the cross's first volley on its seventh frame.
    for (int t = 20; t < 26; ++t) ASSERT_EQ(v[t].small + v[t].large, 0) << t;
    EXPECT_EQ(v[26].small, 12);  // three crosses of four
    EXPECT_EQ(v[32].small, 12);
    EXPECT_EQ(v[119].small, 0);
    EXPECT_EQ(v[120].small, 44);  // side fans 101 frames after t 20, then every 100
    EXPECT_EQ(v[220].small, 44);
    EXPECT_EQ(v[320].small, 44 + 12);  // with a cross
    for (int t = 350; t < 400; ++t) ASSERT_EQ(v[t].small + v[t].large, 0) << t;
    // The wall: 8 large every second frame from 402; 10 closing, 20 held, 40 sweeping volleys.
    int wallVolleys = 0, lastWall = 0;
    for (int t = 400; t < 600; ++t) {
        if (v[t].large != 0) {
            ASSERT_EQ(v[t].large, 8) << t;
            ASSERT_EQ((t - 402) % 2, 0) << t;
            ++wallVolleys;
            lastWall = t;
        }
    }
    EXPECT_EQ(wallVolleys, 70);
    EXPECT_EQ(lastWall, 540);
    // Double fans: streams (30) every 12 frames from 612, fan (4 + 6) every 32 from 632.
    EXPECT_EQ(v[611].small, 0);
    EXPECT_EQ(v[612].small, 30);
    EXPECT_EQ(v[624].small, 30);
    EXPECT_EQ(v[632].small, 10);
    for (int t = 1100; t < 1152; ++t) ASSERT_EQ(v[t].small + v[t].large, 0) << t;  // the second wall from 1152
    EXPECT_EQ(v[1152].large, 8);
    // Twin rings of nine: 18 every second frame from 1352 until 1500.
    EXPECT_EQ(v[1352].small, 18);
    EXPECT_EQ(v[1353].small, 0);
    EXPECT_EQ(v[1498].small, 18);
    EXPECT_EQ(v[1500].small, 0);
    // Turning rings: six rings of 21 each.
    int turning = 0;
    for (int t = 1501; t < 1620; ++t) {
        if (v[t].small != 0) {
            ASSERT_EQ(v[t].small, 21) << t;
            ++turning;
        }
    }
    EXPECT_EQ(turning, 12);
    EXPECT_EQ(v[1552].small, 21);
    EXPECT_EQ(v[1582].small, 21);
    // Fan and streams: four streams every second frame, the fan of nine every 16.
    EXPECT_EQ(v[1622].small, 4);
    EXPECT_EQ(v[1636].small, 13);
    // Burst: 21 large every 9 frames from 1708.
    EXPECT_EQ(v[1707].large, 0);
    EXPECT_EQ(v[1708].large, 21);
    EXPECT_EQ(v[1715].large, 0);
    EXPECT_EQ(v[1716].large, 21);
    EXPECT_EQ(v[1901].small + v[1901].large, 0);
    // Back to 20: the cross and side fans start over, swaying.
    EXPECT_EQ(g_bossThree.scriptTimer, 20);
    EXPECT_EQ(g_bossThree.swaySwitch, 1);
    // The fan ticks of the double fans and of the fan and streams are not cleared when their
    // patterns start again: after 500 and 280 counted frames they stand at 20 and 8, so the
    // fans come 12 and 8 frames in, with the streams.
    const std::vector<Volley> again = RecordCycle(1640);
    EXPECT_EQ(again[26].small, 12);  // the crosses from 20 again
    EXPECT_EQ(again[120].small, 44);
    EXPECT_EQ(again[612].small, 30 + 10);
    EXPECT_EQ(again[632].small, 0);
    EXPECT_EQ(v[1628].small, 4);
    EXPECT_EQ(again[1628].small, 4 + 9);
}

TEST_F(BossThreeTest, RoundTwoCycleIsDenserAndLonger) {
    g_round = 2;
    Arrive();
    const std::vector<Volley> v = RecordCycle(2500);
    EXPECT_EQ(v[26].small, 24);   // the crosses again at 2.0
    EXPECT_EQ(v[50].small, 44 + 24);  // side fans every 30 frames, with the crosses
    EXPECT_EQ(v[80].small, 44 + 24);
    EXPECT_EQ(v[110].small, 44 + 24);
    int wallVolleys = 0;
    for (int t = 360; t < 560; ++t) wallVolleys += v[t].large == 8 ? 1 : 0;
    EXPECT_EQ(wallVolleys, 90);  // 10 closing, 20 held, 60 sweeping
    EXPECT_EQ(v[570].small, 60);  // two stream sets every 10 frames
    EXPECT_EQ(v[584].small, 10);  // fan every 24
    EXPECT_EQ(v[1282].small, 18);
    int turningA = 0;
    for (int t = 1410; t < 1440; ++t) turningA += v[t].small == 21 ? 1 : 0;
    EXPECT_EQ(turningA, 9);
    EXPECT_EQ(v[1470].small, 0);
    EXPECT_EQ(v[1471].small, 4);  // streams every frame from the second
    EXPECT_EQ(v[1472].small, 4);
    EXPECT_EQ(v[1578].large, 21);
    EXPECT_EQ(v[1586].large, 21);
    for (int t = 2400; t <= 2500; ++t) ASSERT_EQ(v[t].small + v[t].large, 0) << t;
    EXPECT_EQ(g_bossThree.scriptTimer, 20);
}

TEST_F(BossThreeTest, TwinRingsAreNineBulletsEachTheNinthNearlyOnTheFirst) {
    Arrive();
    RunTo(1352);
    Step();
    ASSERT_EQ(LiveBullets(g_smallBullets, SMALL_BULLET_COUNT), 18);
    // T1's ring aims at (x + 16, y + 46) from (x + 12, y + 47), turned by c + step.
    const double aim = std::atan2(-1.0, 4.0);
    EXPECT_NEAR(Turn(aim, Heading(g_smallBullets[0])), 0.0, 1e-5);
    EXPECT_NEAR(Turn(aim, Heading(g_smallBullets[1])), 0.785, 1e-5);
    EXPECT_NEAR(Turn(Heading(g_smallBullets[0]), Heading(g_smallBullets[8])), 6.28 - 2 * std::numbers::pi, 1e-5);
    EXPECT_NEAR(std::hypot(g_smallBullets[0].vx, g_smallBullets[0].vy), 3.0, 1e-5);
    // The angles step only after a ring: c down, d up.
    EXPECT_FLOAT_EQ(g_bossThree.twinRingAngleC, -0.15f);
    EXPECT_FLOAT_EQ(g_bossThree.twinRingAngleD, 0.15f);
}

TEST_F(BossThreeTest, DoubleFanStreamSetFiresTwoBulletsOnOnePathFromTheLeftGun) {
    Arrive();
    RunTo(612);
    Step();
    ASSERT_EQ(LiveBullets(g_smallBullets, SMALL_BULLET_COUNT), 30);
    // Items 1 and 3: the fifth bullet (a + 3s) and the tenth are the same.
    EXPECT_EQ(g_smallBullets[4].x, g_smallBullets[9].x);
    EXPECT_EQ(g_smallBullets[4].vx, g_smallBullets[9].vx);
    EXPECT_EQ(g_smallBullets[4].vy, g_smallBullets[9].vy);
    // The first comes from the left gun to the right, turned by -s from a = 0.
    EXPECT_NEAR(Heading(g_smallBullets[0]), -0.04, 1e-5);
    EXPECT_EQ(g_smallBullets[0].x, static_cast<float>(g_bossThree.x - 21));
}

TEST_F(BossThreeTest, SideFansAimAtThePointCapturedTheFrameBefore) {
    Arrive();
    RunTo(119);
    Step();  // capture here, at (75, 195)
    g_ships[0].x = 10;
    g_ships[0].y = 40;
    Step();
    ASSERT_EQ(LiveBullets(g_smallBullets, SMALL_BULLET_COUNT), 44);
    const double gx = g_bossThree.x - 20, gy = g_bossThree.y + 66;
    const double aim = std::atan2(195 - static_cast<int>(gy), 75 - static_cast<int>(gx));
    EXPECT_NEAR(Turn(aim, Heading(g_smallBullets[5])), 0.0, 1e-5);   // the middle of the first fan
    EXPECT_NEAR(Turn(aim, Heading(g_smallBullets[0])), -1.5, 1e-5);
    EXPECT_NEAR(std::hypot(g_smallBullets[11].vx, g_smallBullets[11].vy), 2.0, 1e-5);  // the right gun's
    EXPECT_NEAR(std::hypot(g_smallBullets[22].vx, g_smallBullets[22].vy), 3.0, 1e-5);
}

TEST_F(BossThreeTest, WallClosesHoldsThenSweepsByWhereTheShipWasAtCapture) {
    Arrive();
    RunTo(400);
    g_ships[0].x = 0;  // captured left of the core
    Step();
    EXPECT_EQ(g_bossThree.wallTargetCaptured, 1);
    EXPECT_EQ(g_bossThree.wallTargetX, 11);
    g_ships[0].x = 170;  // the ship moving right afterwards changes nothing
    Step();
    Step();  // first volley
    ASSERT_EQ(LiveBullets(g_largeBullets, LARGE_BULLET_COUNT), 8);
    const double aim = std::atan2(195 - (g_bossThree.y + 46), 11 - (g_bossThree.x + 16));
    EXPECT_NEAR(Turn(aim, Heading(g_largeBullets[0])), -2.4, 1e-5);
    EXPECT_NEAR(Turn(aim, Heading(g_largeBullets[3])), -1.2, 1e-5);
    EXPECT_NEAR(Turn(aim, Heading(g_largeBullets[4])), 2.4, 1e-5);
    EXPECT_NEAR(Turn(aim, Heading(g_largeBullets[7])), 1.2, 1e-5);
    EXPECT_NEAR(std::hypot(g_largeBullets[0].vx, g_largeBullets[0].vy), 6.0, 1e-5);
    int volleys = 1;
    while (g_bossThree.wallStage == 0) {
        Step();
        volleys += LiveBullets(g_largeBullets, LARGE_BULLET_COUNT) == 8 ? 1 : 0;
    }
    EXPECT_EQ(volleys, 10);
    EXPECT_NEAR(g_bossThree.wallSpreadLeft, 0.0, 1e-6);
    while (g_bossThree.wallStage == 1) {
        Step();
        volleys += LiveBullets(g_largeBullets, LARGE_BULLET_COUNT) == 8 ? 1 : 0;
    }
    EXPECT_EQ(volleys, 30);
    EXPECT_EQ(g_bossThree.wallSweepDirection, 0);
    EXPECT_EQ(g_bossThree.wallSweepCount, 1);
    EXPECT_GT(g_bossThree.wallSpreadLeft, 0.04f);  // direction 0 widens the left side first
    EXPECT_LT(g_bossThree.wallSpreadRight, -0.04f);
    while (g_bossThree.wallSwitch == 1) {
        Step();
        volleys += LiveBullets(g_largeBullets, LARGE_BULLET_COUNT) == 8 ? 1 : 0;
    }
    EXPECT_EQ(volleys, 70);
    EXPECT_EQ(g_bossThree.wallSweepCount, 41);
    // Ten steps out, twenty-one back (the last in the volley that stops it): 0.55 below the start.
    EXPECT_NEAR(g_bossThree.wallSpreadLeft, -0.55, 1e-5);
}

TEST_F(BossThreeTest, WallCapturedRightOfTheCoreSweepsTheOtherWay) {
    Arrive();
    RunTo(400);
    g_ships[0].x = 150;
    Step();
    while (g_bossThree.wallStage != 2) Step();
    EXPECT_EQ(g_bossThree.wallSweepDirection, 1);
    EXPECT_LT(g_bossThree.wallSpreadLeft, -0.04f);
}

}  // namespace
