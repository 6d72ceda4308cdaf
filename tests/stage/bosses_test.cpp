// Bosses where the course depends on the player or on the damage taken: a wall that sweeps by
// the side the ship was on when it was captured, and the final boss's last stand that waits for
// a checkpoint. The scripts frame by frame, and every aim at a captured target, are the
// whole-game golden's.
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

// The wall captures the ship's side of the core once; moving afterwards changes nothing. It
// closes, holds, then sweeps first towards the side of the capture (its volleys are the golden's).
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
        RunUntil(
            UpdateBossThree, [] { return g_bossThree.wallStage == 2; }, 1000);
        EXPECT_EQ(g_bossThree.wallSweepDirection, shipX == 0 ? 0 : 1);
        EXPECT_GT(g_bossThree.wallSpreadLeft * (shipX == 0 ? 1 : -1), 0.04f);
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
    EXPECT_EQ(std::vector<int>({v[604].large, v[605].large}), std::vector<int>({30, 0}));
}

}  // namespace
