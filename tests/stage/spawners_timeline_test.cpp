// Stage: the pools' start values, the spawners (whole-wave restarts, records left to the previous
// wave, the bosses' start values) and the timeline's holds and jumps. The course of both rounds,
// music and captions included, is the whole-game golden's.
#include <gtest/gtest.h>

#include <vector>

#include "app/game.h"
#include "enemyfire/enemyfire.h"
#include "player/player.h"
#include "sound/sound.h"
#include "stage/stage.h"
#include "stage/stage_fixture.h"
#include "test_support.h"

namespace {

class SpawnersTimelineTest : public StageFixture {};

// ---- pools and spawners

TEST_F(SpawnersTimelineTest, ResetPutsEveryRecordAtRestBelowTheField) {
    g_enemies[5].alive = 1;
    g_enemies[5].work5 = 9;
    g_largeEnemies[3].work7 = 77;  // not cleared by the reset
    g_largeEnemies[3].work6 = 66;  // cleared
    g_bossOne.alive = 1;
    g_bossOne.twinSpiralAngle1 = 2.5f;  // cleared
    g_bossOne.twinSpiralAngle2 = 2.5f;  // kept
    ResetGame();
    EXPECT_EQ(g_enemies[5].y, 240);
    EXPECT_EQ(g_enemies[5].width, 24);
    EXPECT_EQ(g_enemies[5].alive + g_enemies[5].work5, 0);
    EXPECT_EQ(g_largeEnemies[3].work6, 0);
    EXPECT_EQ(g_largeEnemies[3].work7, 77);
    EXPECT_EQ(g_bossOne.alive, 0);
    EXPECT_EQ(g_bossOne.width, 128);
    EXPECT_EQ(g_bossOne.twinSpiralAngle1, 0.0f);
    EXPECT_EQ(g_bossOne.twinSpiralAngle2, 2.5f);
}

TEST_F(SpawnersTimelineTest, SpawnerCalledWhileItsPoolIsBusyRestartsTheWholeWave) {
    SpawnSwayersLeft1();
    for (int i = 10; i < 15; ++i) g_enemies[i] = Enemy{3 * i, 100, 24, 24, 1, 1, 2, 40, 0, 5, 0, 0, 0, 5};
    g_enemies[12].alive = 0;  // killed meanwhile
    SpawnSwayersLeft1();
    for (int i = 10; i < 15; ++i) {
        const Enemy& e = g_enemies[i];
        EXPECT_EQ(std::vector<int>({e.x, e.y, e.alive, e.hitPoints, e.phase, e.entryCounter, e.work1, e.work5}),
                  std::vector<int>({160, -24, 1, 3, 0, 0, -24, 0}))
            << i;
    }
    // Neighbouring pools are untouched.
    EXPECT_EQ(g_enemies[9].alive + g_enemies[15].alive, 0);
}

TEST_F(SpawnersTimelineTest, DroppersLeaveWork5ToThePreviousWaveAndTheSpareHovererPoolsStayEmpty) {
    g_enemies[0].work5 = 11;
    g_enemies[0].work4 = 11;
    SpawnDroppersLeft();
    EXPECT_EQ(std::vector<int>({g_enemies[0].work4, g_enemies[0].work5}), std::vector<int>({0, 11}));
    SpawnHoverersLeftA();
    SpawnHoverersRightA();
    for (int i = 96; i <= 101; ++i) EXPECT_EQ(g_enemies[i].alive, 0);
}

TEST_F(SpawnersTimelineTest, BossSpawnersClearEverythingButTheHitBox) {
    g_midBoss.ringTurn = 5.0f;
    g_midBoss.fanTimer = 5;
    SpawnMidBoss(2);
    EXPECT_EQ(std::vector<int>({g_midBoss.glideSpeed, g_midBoss.width, g_midBoss.fanTimer}), std::vector<int>({18, 96, 0}));
    EXPECT_EQ(g_midBoss.ringTurn, 0.0f);
    EXPECT_EQ(TakeSounds(), std::vector<int>{static_cast<int>(SoundEffect::MidBossArrival)});
    // An unknown variant is stored and nothing else happens.
    g_midBoss.alive = 0;
    SpawnMidBoss(4);
    EXPECT_EQ(std::vector<int>({g_midBoss.variant, g_midBoss.alive}), std::vector<int>({4, 0}));
    EXPECT_TRUE(TakeSounds().empty());
    ASSERT_EQ(g_largeBulletAltSprite, 0);
    SpawnBossFinal();
    EXPECT_EQ(g_largeBulletAltSprite, 1);
}

// ---- timeline

// A boss holds the timeline for as long as it lives; where a jump follows, it is taken only once
// every boss it waits for is gone.
TEST_F(SpawnersTimelineTest, JumpsSkipAheadOnlyOnceTheBossesAreGone) {
    const struct {
        int frame;
        int32_t* alive;  // the boss kept alive, or none
        int next;
    } cases[] = {
        {1702, &g_bossOne.alive, 1702}, {1702, nullptr, 1703},          {3872, &g_bossTwo.alive, 3872},
        {3872, nullptr, 4001},          {6042, &g_midBoss.alive, 6042}, {6042, &g_midBossEscort.alive, 6042},
        {6042, nullptr, 6061},
    };
    for (const auto& c : cases) {
        StartGameInRound(1);
        g_stageFrame = c.frame;
        if (c.alive) *c.alive = 1;
        UpdateStageTimeline();
        EXPECT_EQ(g_stageFrame, c.next) << "frame " << c.frame;
    }
    // Stage 3 opens at 4200, not at the jump's target.
    StartGameInRound(1);
    g_stageFrame = 4001;
    RunUntil(
        UpdateStageTimeline, [] { return g_stageFrame == 4200; }, 300);
    EXPECT_EQ(g_messageVisible, 0);
    UpdateStageTimeline();
    EXPECT_EQ(g_messageRowY, 40);
    EXPECT_EQ(g_aimJitterWide, 1);
}

}  // namespace
