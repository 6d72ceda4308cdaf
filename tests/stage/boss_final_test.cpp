// The final boss: the gap fan at the captured point and its sweep, the corner curtains, the rising
// sprays, and the checkpoints that start the last stand after a silence. The whole course of its
// script frame by frame is the whole-game golden's.
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
#include "stage/stage_fixture.h"
#include "test_support.h"

namespace {

class BossFinalTest : public StageFixture {
protected:
    void SetUp() override { StartGameInRound(2); }

    // One update from empty pools.
    static Volley Step() { return Fired(UpdateBossFinal); }

    static void Arrive() {
        SpawnBossFinal();
        RunUntil(UpdateBossFinal, [] { return g_bossFinal.entered != 0; });
    }

    // Runs until the next frame's script timer reads t.
    static void RunTo(int t) { RunUntil(UpdateBossFinal, [t] { return g_bossFinal.scriptTimer == t; }); }

    // The volleys of the frames from the current timer to `end`, by the script timer of their frame.
    static std::vector<Volley> Record(int end) {
        std::vector<Volley> byTime(end + 1);
        for (int t = g_bossFinal.scriptTimer; t <= end; ++t) byTime[t] = Step();
        return byTime;
    }
};

TEST_F(BossFinalTest, GapFanKeepsToTheCapturedPointThenSweeps) {
    Arrive();
    RunTo(1150);
    Step();  // captures (75, 195)
    g_ships[0].x = 150;  // moving afterwards changes nothing
    const int x = g_bossFinal.x, y = g_bossFinal.y;  // standing still from 1150
    Step();
    Step();
    ASSERT_EQ(LiveBullets(g_largeBullets, LARGE_BULLET_COUNT), 10);
    const double aim = std::atan2(195 - (y + 95), 75 - (x + 48));
    EXPECT_NEAR(Turn(aim, Heading(g_largeBullets[0])), -0.95, 1e-5);
    EXPECT_NEAR(Turn(aim, Heading(g_largeBullets[4])), -0.15, 1e-5);
    EXPECT_NEAR(Turn(aim, Heading(g_largeBullets[5])), 0.15, 1e-5);
    EXPECT_NEAR(Speed(g_largeBullets[9]), 6.0, 1e-5);
    // Volley n fires with the sweep of the volleys before it: 0 up to 30, -0.5 at 40, +0.5 at
    // 60, -0.5 at 80, back to 0 at 90, the last.
    const double sweepAt[] = {0, 0, -0.5, 0.5, -0.5, 0};
    const int volley[] = {0, 30, 40, 60, 80, 90};
    int n = 0;
    for (int k = 0; k < 6; ++k) {
        while (n < volley[k]) {
            Step();
            Step();
            ++n;
        }
        ASSERT_EQ(g_bossFinal.x, x);
        EXPECT_NEAR(Turn(aim, Heading(g_largeBullets[4])), sweepAt[k] - 0.15, 1e-4) << "volley " << n;
    }
    EXPECT_EQ(g_bossFinal.patternCSwitch, 0);
    EXPECT_EQ(g_bossFinal.patternCVolleyCount, 91);
}

TEST_F(BossFinalTest, CurtainsComeFromTheCornersIntoTheField) {
    Arrive();
    RunTo(1542);
    Step();
    ASSERT_EQ(LiveBullets(g_largeBullets, LARGE_BULLET_COUNT), 24);
    const float cornerX[4] = {-1, -1, 191, 191}, cornerY[4] = {-1, 231, -1, 231};
    for (int c = 0; c < 4; ++c) {
        for (int k = 0; k < 6; ++k) {
            const EnemyBullet& b = g_largeBullets[6 * c + k];
            ASSERT_EQ(b.x, cornerX[c]);
            ASSERT_EQ(b.y, cornerY[c]);
            EXPECT_NEAR(Speed(b), 6.0, 1e-5);
            EXPECT_GT(c < 2 ? b.vx : -b.vx, -1e-5) << c << " " << k;
            EXPECT_GT(c % 2 == 0 ? b.vy : -b.vy, -1e-5) << c << " " << k;
        }
    }
    EXPECT_NEAR(Heading(g_largeBullets[0]), 0.0, 1e-6);  // along the top edge
    EXPECT_NEAR(Heading(g_largeBullets[4]), 1.2, 1e-5);
    EXPECT_NEAR(Heading(g_largeBullets[5]), std::numbers::pi / 2, 1e-6);  // down the left edge
}

TEST_F(BossFinalTest, SpraysRiseInSpeedTheLeftEndingAt39) {
    Arrive();
    RunTo(603);
    const int x = g_bossFinal.x;
    Step();
    ASSERT_EQ(LiveBullets(g_smallBullets, SMALL_BULLET_COUNT), 22);
    EXPECT_NEAR(Heading(g_smallBullets[0]), -std::numbers::pi / 2, 1e-6);  // the left from straight up
    EXPECT_NEAR(Turn(Heading(g_smallBullets[0]), Heading(g_smallBullets[10])), 1.0, 1e-5);
    EXPECT_NEAR(Speed(g_smallBullets[0]), 1.8, 1e-5);
    EXPECT_NEAR(Speed(g_smallBullets[10]), 3.9, 1e-5);
    EXPECT_EQ(g_smallBullets[0].x, static_cast<float>(x));
    EXPECT_NEAR(Heading(g_smallBullets[11]), std::numbers::pi / 2, 1e-6);  // the right from straight down
    EXPECT_NEAR(Speed(g_smallBullets[21]), 3.8, 1e-5);
    EXPECT_EQ(g_smallBullets[11].x, static_cast<float>(x + 96));
    EXPECT_FLOAT_EQ(g_bossFinal.patternBLeftAngle, -0.21f);
    EXPECT_FLOAT_EQ(g_bossFinal.patternBRightAngle, 0.21f);
}

TEST_F(BossFinalTest, LastStandBeginsAtACheckpointWithTwoThousandHitPoints) {
    Arrive();
    RunTo(500);
    g_bossFinal.hitPoints = 2001;
    Step();
    EXPECT_EQ(g_bossFinal.lastStand, 0);
    RunTo(1100);
    g_bossFinal.hitPoints = 2000;
    Step();
    EXPECT_EQ(g_bossFinal.lastStand, 1);
}

TEST_F(BossFinalTest, LastStandWaitsForTheCheckpointThenRingsAfterASilence) {
    Arrive();
    RunTo(300);
    g_bossFinal.hitPoints = 1500;  // mid-pattern: pattern A goes on to its checkpoint
    const std::vector<Volley> v = Record(720);
    EXPECT_EQ(v[494].small, 6 + 9);
    EXPECT_EQ(v[499].small, 6);
    EXPECT_EQ(g_bossFinal.lastStand, 1);
    for (int t = 500; t < 604; ++t) ASSERT_EQ(v[t].small + v[t].large, 0) << t;  // no pattern B
    EXPECT_EQ(v[604].large, 30);
    EXPECT_EQ(v[605].large, 0);
    EXPECT_EQ(v[608].large, 30);
    EXPECT_EQ(v[612].small, 0);
    EXPECT_EQ(g_bossFinal.patternBSwitch, 0);
}

TEST_F(BossFinalTest, LastStandRingIsThirtyLargeAimedRoundTheShip) {
    Arrive();
    RunTo(500);
    g_bossFinal.hitPoints = 10;
    RunTo(604);
    const int x = g_bossFinal.x, y = g_bossFinal.y;
    Step();
    ASSERT_EQ(LiveBullets(g_largeBullets, LARGE_BULLET_COUNT), 30);
    const double aim = std::atan2(195 - (y + 95), 75 - (x + 48));
    EXPECT_NEAR(Turn(aim, Heading(g_largeBullets[0])), 0.0, 1e-5);
    EXPECT_NEAR(Turn(aim, Heading(g_largeBullets[1])), 0.21, 1e-5);
    EXPECT_NEAR(Speed(g_largeBullets[29]), 3.4, 1e-5);
}

}  // namespace
