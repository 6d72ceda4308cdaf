// Bosses and mid-bosses where the course depends on the player: targets captured once and kept
// while the ship moves on, a wall that sweeps by the side the ship was on, and the final boss's
// last stand that waits for a checkpoint. The scripts frame by frame are the whole-game golden's.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "enemyfire/enemyfire.h"
#include "player/player.h"
#include "stage/stage.h"
#include "stage/stage_fixture.h"

namespace {

class BossesTest : public StageFixture {};

// The angle from a gun point to (tx, ty), as the firing operations work it out.
double AimFrom(double gx, double gy, double tx, double ty) { return std::atan2(ty - gy, tx - gx); }

// Side guns of the first boss's second appearance: the left gun aims at the point captured for
// the right gun, and the wrap of the cycle (24 -> 0 -> 1 in one frame) captures nothing.
TEST_F(BossesTest, BossOneSideGunsReuseTheRightGunsTarget) {
    g_round = 2;
    SpawnBossOne(1);
    RunUntil(UpdateBossOne, [] { return g_bossOne.entryCounter == 66 && g_bossOne.scriptTimer == 1130; });
    for (int c = 0; c < 12; ++c) UpdateBossOne();
    g_ships[0].x = 10;
    UpdateBossOne();
    EXPECT_EQ(g_bossOne.targetX, 21);
    g_ships[0].x = 150;
    for (int c = 13; c < 25; ++c) UpdateBossOne();
    EXPECT_EQ(g_bossOne.sideGunCycle, 1);
    EXPECT_EQ(g_bossOne.targetX, 21);
}

// The second boss's pairs stand still and fire at the target captured when they switched on.
TEST_F(BossesTest, BossTwoPairsFireAtTheCapturedTarget) {
    SpawnBossTwo(1);
    RunUntil(UpdateBossTwo, [] { return g_bossTwo.entryCounter == 65 && g_bossTwo.scriptTimer == 17; });
    EXPECT_EQ(g_bossTwo.swaySwitch, 0);
    g_ships[0].x += 30;
    const Volley none = Fired(UpdateBossTwo);
    EXPECT_EQ(none.small + none.large, 0);
    const int x = g_bossTwo.x, y = g_bossTwo.y;
    EXPECT_EQ(Fired(UpdateBossTwo).large, 0);
    TakeSoundCount(SoundEffect::EnemyFire);
    ASSERT_EQ(Fired(UpdateBossTwo).large, 2);  // timer 19
    EXPECT_EQ(TakeSoundCount(SoundEffect::EnemyFire), 1);
    EXPECT_NEAR(Turn(AimFrom(x + 50, y + 72, 75, 195), Heading(g_largeBullets[0])), 0.0, 1e-5);
    EXPECT_EQ(g_bossTwo.x, x);
}

// The wall captures the ship's side of the core once; moving afterwards changes nothing. It
// closes in ten volleys, holds, then sweeps first towards the side of the capture.
TEST_F(BossesTest, BossThreeWallSweepsByWhereTheShipWasAtCapture) {
    for (const int shipX : {0, 150}) {
        SCOPED_TRACE(shipX);
        StartGameInRound(1);
        SpawnBossThree();
        RunUntil(UpdateBossThree, [] { return g_bossThree.entered != 0 && g_bossThree.scriptTimer == 400; });
        g_ships[0].x = shipX;
        UpdateBossThree();
        ASSERT_EQ(g_bossThree.wallTargetCaptured, 1);
        const int targetX = g_bossThree.wallTargetX;
        EXPECT_EQ(targetX, shipX + 11);
        g_ships[0].x = 170 - shipX;
        UpdateBossThree();
        ASSERT_EQ(Fired(UpdateBossThree).large, 8);
        const double aim = AimFrom(g_bossThree.x + 16, g_bossThree.y + 46, targetX, 195);
        EXPECT_NEAR(Turn(aim, Heading(g_largeBullets[0])), -2.4, 1e-5);
        EXPECT_NEAR(Turn(aim, Heading(g_largeBullets[4])), 2.4, 1e-5);
        int volleys = 1;
        for (int guard = 0; g_bossThree.wallStage != 2; ++guard) {
            ASSERT_LT(guard, 1000);
            volleys += Fired(UpdateBossThree).large == 8 ? 1 : 0;
        }
        EXPECT_EQ(volleys, 30);
        EXPECT_EQ(g_bossThree.wallSweepDirection, shipX == 0 ? 0 : 1);
        if (shipX == 0) {
            EXPECT_GT(g_bossThree.wallSpreadLeft, 0.04f);
        } else {
            EXPECT_LT(g_bossThree.wallSpreadLeft, -0.04f);
        }
    }
}

// The final boss's last stand begins at a checkpoint with 2000 hit points or fewer; a pattern
// under way goes on to its checkpoint, then a silence, then rings of thirty aimed at the ship.
TEST_F(BossesTest, FinalBossLastStandWaitsForTheCheckpointThenRings) {
    StartGameInRound(2);
    SpawnBossFinal();
    const auto runTo = [](int t) {
        RunUntil(UpdateBossFinal, [t] { return g_bossFinal.entered != 0 && g_bossFinal.scriptTimer == t; });
    };
    runTo(500);
    g_bossFinal.hitPoints = 2001;
    UpdateBossFinal();
    EXPECT_EQ(g_bossFinal.lastStand, 0);
    StartGameInRound(2);
    SpawnBossFinal();
    runTo(300);
    g_bossFinal.hitPoints = 2000;
    std::vector<Volley> v(606);
    for (int t = 300; t <= 605; ++t) v[t] = Fired(UpdateBossFinal);
    EXPECT_EQ(v[494].small, 6 + 9);  // pattern A to its end
    EXPECT_EQ(g_bossFinal.lastStand, 1);
    for (int t = 500; t < 604; ++t) ASSERT_EQ(v[t].small + v[t].large, 0) << t;
    EXPECT_EQ(v[604].large, 30);
    EXPECT_EQ(v[605].large, 0);
}

// The escort's fans of twelve (one per speed) leave a gap on the aim line and go where the ship
// was one frame before they fire.
TEST_F(BossesTest, EscortFansAtTheTargetCapturedTheFrameBefore) {
    SpawnMidBossEscort();
    RunUntil(
        UpdateMidBossEscort, [] { return g_midBossEscort.fanTimer == 29; }, 100);
    UpdateMidBossEscort();
    EXPECT_EQ(g_midBossEscort.targetX, 75);
    g_ships[0].x += 40;
    ClearEnemyBullets();
    UpdateMidBossEscort();
    const double gx = g_midBossEscort.x + 45, gy = g_midBossEscort.y + 21;
    const double aim = AimFrom(gx, gy, 75, 195);
    int fan = 0;
    for (const EnemyBullet& b : g_smallBullets) {
        if (b.alive != 1 || b.x != static_cast<float>(gx - 1)) continue;
        const double off = Turn(aim, Heading(b));
        EXPECT_NEAR(off, -1.1 + 0.2 * (fan % 12), 1e-4) << fan;
        EXPECT_GT(std::abs(off), 0.09) << fan;
        ++fan;
    }
    EXPECT_EQ(fan, 24);
}

// A frigate's right wing fires at the point re-captured at fire age 20, not at the ship now.
TEST_F(BossesTest, FrigateRightWingAimsWhereTheShipWasAtAgeTwenty) {
    SpawnFrigates();
    for (int i = FIRST_FRIGATE; i < FIRST_FRIGATE + FORMATION_COUNT; ++i) {
        if (i != FIRST_FRIGATE + 1) g_largeEnemies[i].alive = 0;
    }
    for (int f = 1; f <= 25 + 19; ++f) UpdateFrigates();
    const LargeEnemy& e = g_largeEnemies[FIRST_FRIGATE + 1];
    g_ships[0].x = 20;
    UpdateFrigates();  // age 20: the ring and the re-aim at (31, 195)
    g_ships[0].x = 150;
    ASSERT_EQ(Fired(UpdateFrigates).small, 1);
    EXPECT_FLOAT_EQ(g_smallBullets[0].x, static_cast<float>(e.x + 38));
    EXPECT_NEAR(Heading(g_smallBullets[0]), AimFrom(e.x + 39, 81, 31, 195), 1e-5);
}

}  // namespace
