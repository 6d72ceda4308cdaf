// The second boss: the ring burst on every second pass of the first script, the lanes its gapped fans
// leave, the second appearance's pairs at the captured target while it stands still, and its showers
// (three a pass in round 2, one in round 1). Its patterns frame by frame are the whole-game golden's.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "enemyfire/enemyfire.h"
#include "platform/platform.h"
#include "player/player.h"
#include "stage/stage.h"
#include "stage/stage_fixture.h"
#include "test_support.h"

namespace {

// The angle from a gun point to (tx, ty), as the firing operations work it out.
double AimFrom(int gx, int gy, int tx, int ty) { return std::atan2(ty - gy, tx - gx); }

class BossTwoTest : public StageFixture {
protected:
    void SetUp() override { StartGameInRound(1); }
    // Updates the boss until its script is about to process timer value t (passing `restarts`
    // restarts of the script first), then clears the bullets.
    static void RunToTimer(int t, int restarts = 0) {
        for (int guard = 0; guard < 10000; ++guard) {
            if (g_bossTwo.entryCounter == 65 && g_bossTwo.scriptTimer == t && restarts == 0) break;
            const int before = g_bossTwo.scriptTimer;
            UpdateBossTwo();
            if (g_bossTwo.scriptTimer < before) restarts -= 1;
        }
        ASSERT_EQ(g_bossTwo.scriptTimer, t);
        ClearEnemyBullets();
    }
    static std::pair<int, int> Step() {
        const int small = SmallBullets(), large = LargeBullets();
        UpdateBossTwo();
        return {SmallBullets() - small, LargeBullets() - large};
    }
    static int Gx(int dx) { return g_bossTwo.x + dx; }
    static int Gy(int dy) { return g_bossTwo.y + dy; }
};

// ---- first appearance

// Pass 0 at 2.0 leaves lanes at 0.2 and 0.3 either side of the aim line; pass 1 at 3.0 leaves
// the aim line itself free; pass 2 at 4.0 (round 2) leaves both.
TEST_F(BossTwoTest, GappedFanLeavesItsLanes) {
    for (int round : {1, 2}) {
        SCOPED_TRACE(round);
        StartGameInRound(round);
        SpawnBossTwo(0);
        RunToTimer(220);
        const int passes = round == 2 ? 3 : 2;
        EXPECT_EQ(Step(), std::make_pair(passes == 3 ? 29 : 21, 0));
        const double aim = AimFrom(Gx(16), Gy(81), 75, 195);
        const std::set<int> expected[] = {{-6, -5, -4, -1, 0, 1, 4, 5, 6},
                                          {-6, -5, -4, -3, -2, -1, 1, 2, 3, 4, 5, 6},
                                          {-6, -5, -4, -1, 1, 4, 5, 6}};
        int i = 0;
        for (int pass = 0; pass < passes; ++pass) {
            std::set<int> lanes;
            for (size_t n = 0; n < expected[pass].size(); ++n, ++i) {
                const EnemyBullet& b = g_smallBullets[i];
                ASSERT_EQ(b.x, static_cast<float>(Gx(16) - 1));
                EXPECT_NEAR(Speed(b), 2.0 + pass, 1e-4);
                lanes.insert(static_cast<int>(std::lround(AngleBetween(Heading(b), aim) * 10)));
            }
            EXPECT_EQ(lanes, expected[pass]) << pass;
        }
        // The other fans of the opening: round 1 from RW at 250; round 2 RW 235, LW 250, RW 265.
        const int rightWingAt = round == 2 ? 235 : 250;
        RunToTimer(rightWingAt);
        EXPECT_EQ(Step().first, passes == 3 ? 29 : 21);
        EXPECT_EQ(g_smallBullets[0].x, static_cast<float>(Gx(106) - 1));
        if (round == 2) {
            RunToTimer(250);
            EXPECT_EQ(Step().first, 29);
            EXPECT_EQ(g_smallBullets[0].x, static_cast<float>(Gx(16) - 1));
            RunToTimer(265);
            EXPECT_EQ(Step().first, 29);
        }
    }
}

// 0-550 plays, restarts, 0-850 plays with the ring burst at 550 and the cross and wing fan from
// 620 to 800, then the cycle starts over.
TEST_F(BossTwoTest, ScriptCycleFiresTheRingBurstEverySecondPass) {
    for (int round : {1, 2}) {
        SCOPED_TRACE(round);
        StartGameInRound(round);
        SpawnBossTwo(0);
        RunToTimer(550);
        EXPECT_EQ(Step().first, 0);
        EXPECT_EQ(g_bossTwo.scriptTimer, 0);
        EXPECT_EQ(g_bossTwo.passCount, 1);
        RunToTimer(550);
        EXPECT_EQ(Step().first, 2 * (round == 2 ? 3 : 2) * 5 * 8);
        EXPECT_EQ(g_smallBullets[0].x, static_cast<float>(Gx(16) - 1));
        EXPECT_EQ(g_smallBullets[round == 2 ? 120 : 80].x, static_cast<float>(Gx(106) - 1));
        EXPECT_NEAR(Speed(g_smallBullets[0]), 2.0, 1e-4);
        EXPECT_NEAR(AngleBetween(Heading(g_smallBullets[0]), UP), -0.2, 1e-5);  // group A
        EXPECT_NEAR(AngleBetween(Heading(g_smallBullets[40]), UP), 1.8, 1e-5);  // group B
        EXPECT_NEAR(Speed(g_smallBullets[40]), 3.0, 1e-4);
        EXPECT_EQ(g_bossTwo.scriptTimer, 551);

        RunToTimer(620);
        const int crossTick = round == 2 ? 2 : 3;
        for (int t = 0; t < crossTick; ++t) EXPECT_EQ(Step().first, 0) << t;
        EXPECT_EQ(Step().first, 4);  // the cross from the right wing
        EXPECT_EQ(g_smallBullets[0].x, static_cast<float>(Gx(106) - 1));
        EXPECT_NEAR(AngleBetween(Heading(g_smallBullets[0]), UP), 0.0, 1e-5);
        EXPECT_NEAR(g_bossTwo.crossAngle, -0.2, 1e-6);
        RunToTimer(640);
        const int wingFan = round == 2 ? 26 : 7;
        const int fired = Step().first;
        EXPECT_TRUE(fired == wingFan || fired == wingFan + 4) << fired;  // with or without a cross
        RunToTimer(850);
        Step();
        EXPECT_EQ(g_bossTwo.scriptTimer, 0);
        EXPECT_EQ(g_bossTwo.passCount, 0);
        EXPECT_EQ(g_bossTwo.crossSwitch, 0);
        RunToTimer(550);
        EXPECT_EQ(Step().first, 0);  // the next burst waits for the pass after this one
        EXPECT_EQ(g_bossTwo.scriptTimer, 0);
    }
}

// ---- second appearance

TEST_F(BossTwoTest, SecondAppearancePairsStandStillAndFireAtTheCapturedTarget) {
    SpawnBossTwo(1);
    RunToTimer(16);
    Step();  // pairs on, target captured at (75, 195)
    EXPECT_EQ(g_bossTwo.swaySwitch, 0);
    g_ships[0].x += 30;  // the pairs still go where the ship was
    const int x = g_bossTwo.x, y = g_bossTwo.y;
    TakeSoundCount(SoundEffect::EnemyFire);
    EXPECT_EQ(Step(), std::make_pair(0, 0));
    EXPECT_EQ(Step(), std::make_pair(0, 0));
    EXPECT_EQ(TakeSoundCount(SoundEffect::EnemyFire), 0);
    EXPECT_EQ(Step(), std::make_pair(0, 2));  // timer 19
    EXPECT_EQ(TakeSoundCount(SoundEffect::EnemyFire), 1);
    EXPECT_EQ(g_largeBullets[0].x, static_cast<float>(x + 50 - 1));
    EXPECT_EQ(g_largeBullets[1].x, static_cast<float>(x + 70 - 1));
    EXPECT_NEAR(AngleBetween(Heading(g_largeBullets[0]), AimFrom(x + 50, y + 72, 75, 195)), 0.0, 1e-5);
    EXPECT_NEAR(Speed(g_largeBullets[0]), 4.0, 1e-5);
    g_ships[0].x -= 30;
    ClearEnemyBullets();
    for (int t = 20; t < 24; ++t) Step();
    EXPECT_EQ(Step().first, 7);  // timer 24: the jittered fan of seven
    for (int t = 25; t < 31; ++t) Step();
    EXPECT_EQ(g_bossTwo.x, x);  // still for the first 15 frames of the cycle
    EXPECT_EQ(g_bossTwo.y, y);
    EXPECT_EQ(g_bossTwo.swaySwitch, 0);
    Step();  // timer 31: cycle 15
    EXPECT_EQ(g_bossTwo.swaySwitch, 1);
    ClearEnemyBullets();
    EXPECT_EQ(Step().second, 16);  // timer 32: the mirrored fans
    const int mx = g_bossTwo.x + 60 - 1;
    EXPECT_EQ(g_largeBullets[0].x, static_cast<float>(mx));
    EXPECT_NEAR(AngleBetween(Heading(g_largeBullets[0]), DOWN), -2.4, 1e-5);
    EXPECT_NEAR(AngleBetween(Heading(g_largeBullets[8]), DOWN), 2.4, 1e-5);
    EXPECT_NEAR(Speed(g_largeBullets[0]), 6.0, 1e-5);
    for (int i = 0; i < 16; ++i) EXPECT_GT(std::abs(AngleBetween(Heading(g_largeBullets[i]), DOWN)), 0.3) << i;
}

// Straight-down large shots from four points from the start; after a delay, pairs of large
// crosses from below both wings.
TEST_F(BossTwoTest, ShowersInRoundTwoAndOnceInRoundOne) {
    StartGameInRound(2);
    SpawnBossTwo(1);
    RunToTimer(500);
    EXPECT_EQ(Step().second, 0);
    EXPECT_EQ(g_bossTwo.swaySwitch, 0);
    EXPECT_EQ(Step().second, 0);
    EXPECT_EQ(Step().second, 4);  // timer 502
    EXPECT_EQ(g_largeBullets[0].x, static_cast<float>(Gx(40) - 1));
    EXPECT_EQ(g_largeBullets[0].y, static_cast<float>(Gy(102) - 1));
    EXPECT_EQ(g_largeBullets[3].x, static_cast<float>(Gx(105) - 1));
    EXPECT_NEAR(g_largeBullets[0].vx, 0.0, 1e-5);
    EXPECT_NEAR(g_largeBullets[0].vy, 6.0, 1e-5);
    EXPECT_EQ(Step().second, 0);
    EXPECT_EQ(Step().second, 4);
    EXPECT_EQ(Step().second, 0);       // timer 505: delay 6, the cross tick starts counting
    ClearEnemyBullets();
    EXPECT_EQ(Step().second, 8 + 4);   // timer 506: two crosses and the shower
    EXPECT_EQ(g_largeBullets[0].x, static_cast<float>(Gx(29) - 1));
    EXPECT_EQ(g_largeBullets[4].x, static_cast<float>(Gx(93) - 1));
    EXPECT_NEAR(Speed(g_largeBullets[0]), 6.0, 1e-5);
    EXPECT_NEAR(g_bossTwo.showerAngle1, 0.67, 1e-6);
    EXPECT_NEAR(g_bossTwo.showerAngle2, -0.67, 1e-6);
    EXPECT_EQ(Step().second, 8);       // crosses every frame in round 2
    RunToTimer(525);
    Step();
    EXPECT_EQ(g_bossTwo.showerSwitch, 0);
    EXPECT_EQ(g_bossTwo.swaySwitch, 1);

    StartGameInRound(1);
    SpawnBossTwo(1);
    RunToTimer(500);
    for (int t = 500; t < 1320; ++t) {
        UpdateBossTwo();
        ASSERT_EQ(g_bossTwo.showerSwitch, 0) << t;  // no showers before 1320 in round 1
    }
    ClearEnemyBullets();
    for (int t = 1320; t < 1323; ++t) EXPECT_EQ(Step().second, 0) << t;
    EXPECT_EQ(Step().second, 4);  // timer 1323, at 5.0
    EXPECT_NEAR(g_largeBullets[0].vy, 5.0, 1e-5);
    RunToTimer(1330);
    EXPECT_EQ(Step().second, 0);
    EXPECT_EQ(Step().second, 0);
    EXPECT_EQ(Step().second, 8 + 4);  // timer 1332: first crosses, with the shower
}

}  // namespace
